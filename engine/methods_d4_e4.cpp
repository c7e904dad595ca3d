#include "internal/methods_d4_e4.h"

#include "internal/rule_rows.h"
#include "tavrel/engine.h"

namespace tavrel::engine {

// Method D5: positions 3 and 4 both 9: mod 11 on positions 3 to 9 alone;
// otherwise mod 11, mod 7 and plain mod 10 on positions 4 to 9.
int MethodD5(const Call& call) {
  return RunSequenceByPositions3And4(call, {"D5Variante1"},
                                     {"D5Variante2", "D5Variante3", "D5Variante4"});
}

// Method D6: method 07, then method 03, then method 00.
int MethodD6(const Call& call) { return RunSequence(call, call.account, {"07", "03", "00"}); }

// Method D8: ten-digit accounts take method 00; accounts of eight significant
// digits carry no check digit; all others are invalid.
int MethodD8(const Call& call) {
  switch (SignificantLength(call.account)) {
    case 10:
      Because(call, "ten significant digits");
      return RunKey(call, call.account, "00");
    case 8:
      return Decided(call, kValidWithoutCheck, "eight significant digits: no check digit");
    default:
      return Decided(call, kInvalid, "not eight or ten significant digits: invalid");
  }
}

// Method D9: method 00, then method 10, then method 18.
int MethodD9(const Call& call) { return RunSequence(call, call.account, {"00", "10", "18"}); }

// Method E3: method 00, then method 21.
int MethodE3(const Call& call) { return RunSequence(call, call.account, {"00", "21"}); }

// Method E4: method 02, then method 00.
int MethodE4(const Call& call) { return RunSequence(call, call.account, {"02", "00"}); }

}  // namespace tavrel::engine
