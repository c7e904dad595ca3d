// The 188 keys of the dispatcher in selection order: 09 first, then the method
// codes ascending, each followed by its variant keys.
#pragma once

#include <array>
#include <string_view>

namespace tavrel::engine {

inline constexpr std::array<std::string_view, 188> kAllKeys = {
    "09", "00", "01", "02", "03", "04", "05", "06", "07", "08", "10", "11", "13", "14", "15", "16",
    "17", "18", "19", "20", "21", "22", "23", "24", "25", "26", "27", "28", "29", "30", "31", "32",
    "33", "34", "35", "36", "37", "38", "39", "40", "41", "42", "43", "44", "45", "46", "47", "48",
    "49", "50", "51", "51MethodeA", "51MethodeB", "51MethodeC", "51MethodeCAusnahme1",
    "51MethodeCAusnahme2", "52", "Eser", "53", "54", "55", "56", "57", "57Variante1", "57Variante2",
    "57Variante4", "58", "59", "60", "61", "61Art8", "61Standard", "62", "63", "64", "65", "65Art9",
    "65Standard", "66", "67", "68", "68stell10", "68Variante1", "68Variante2", "69", "69Variante1",
    "69Variante2", "71", "72", "73", "73Variante1", "73Variante2", "73Variante3", "74", "75",
    "75stellen6_7", "75stellen9a", "75stellen9b", "76", "78", "80", "80MethodeA", "80MethodeB", "81",
    "84", "84MethodeB", "85", "85MethodeA", "85MethodeB", "85MethodeC", "85Ausnahme", "86",
    "86MethodeA", "86MethodeB", "87", "87MethodeA", "87MethodeB", "87MethodeC", "88", "88Ausnahme",
    "90", "90MethodeA", "90MethodeB", "90MethodeC", "90MethodeD", "90MethodeE", "90MethodeF", "91",
    "91Variante1", "91Variante2", "91Variante3", "91Variante4", "92", "94", "95", "96", "96Variante1",
    "96Variante2", "98", "99", "A0", "A1", "A2", "A2Variante1", "A2Variante2", "A3", "A3Variante1",
    "A3Variante2", "A5", "A5Variante1", "A5Variante2", "A6", "A7", "A8", "A8Variante1",
    "A8Variante2", "A9", "B1", "B2", "B3", "B5", "B5Variante1", "B6", "B7", "B8", "B9",
    "B9Variante1", "B9Variante2", "C0", "C1", "C1Variante2", "C2", "C3", "C4", "C5", "C6",
    "C6Variante0", "C6Variante1", "C6Variante2", "C6Variante7", "C6Variante9", "C7", "C8", "C9",
    "D0", "D1", "D2", "D3",
};

}  // namespace tavrel::engine
