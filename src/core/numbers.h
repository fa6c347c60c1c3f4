// Reading numbers the way the settings and vocabulary files store them.
#pragma once

#include <QStringView>
#include <optional>

namespace tavi {

// A decimal number with optional sign, fraction (".") and exponent, white space
// (line feeds included) allowed around it. nullopt for anything else, for an empty
// text and for a value too large for a double ("1e400").
std::optional<double> parseNumber(QStringView text);

// The nearest whole number, a half going to the even neighbour (1.5 -> 2, 2.5 -> 2).
double roundHalfEven(double value);

// parseNumber, rounded, when the result fits the 32-bit range.
std::optional<qint32> parseWholeNumber(QStringView text);

} // namespace tavi
