/* Prints the installed library's version and checks two accounts through it. */
#include <stdio.h>
#include <tavrel.h>

static void PrintCheck(const char* bank_code, const char* account) {
  const int result = tavrel_check(bank_code, account);
  printf("%s %s: %d %s\n", bank_code, account, result, tavrel_result_code(result));
}

int main(void) {
  printf("tavrel %s\n", tavrel_version());
  PrintCheck("12030000", "9290701");
  PrintCheck("12030000", "9290702");
  return 0;
}
