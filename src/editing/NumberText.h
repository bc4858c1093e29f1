#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

// Numbers as the user sees them in edit fields: texts in the user's locale
// (the default QLocale), converted the way the classic Basic runtime converts
// them, so that a wing span typed as "35,5" in Germany means 35.5 feet.
// The files themselves always use "." (that is the writer's business).
namespace numbertext {

// ---- conversions -------------------------------------------------------------

// Text to number by the locale's rules: blanks around it and a leading sign are
// allowed, the locale's decimal separator marks the fraction, the other of ","
// and "." counts as the digit-group separator and is skipped anywhere before
// the decimal separator, and an exponent ("1E-05") is understood. Empty when
// the text is not a number or out of the double range.
std::optional<double> toDouble(const QString& text);

// Number to text: up to 15 significant digits, the locale's decimal separator,
// no group separators; exponent form ("1E+15", "1.5E-07") for magnitudes of
// 1E15 and above or below 1E-4. Empty for infinities and NaN.
QString toText(double value);

// Rounds to a whole number, a half to the even neighbour (2.5 -> 2, 3.5 -> 4).
double roundHalfEven(double value);

// Text to one unsigned byte: converted by the locale's rules, rounded half to
// even; empty when not a number or outside 0..255 after rounding.
std::optional<quint8> toByte(const QString& text);

// ---- the helpers of the number fields ----------------------------------------

// The number at the start of `text`: its leading run of "0123456789,."
// converted by the locale's rules ("35,5 ft" gives 35.5 under a decimal comma).
// Empty when the run is empty or does not convert (",", "1,2,3" under a
// decimal comma).
std::optional<double> CleanNumber(const QString& text);

// The locale's decimal separator: the second character of the text of 1.5.
QString GetDecimalSeparator();

// Rounds the number in `text` up to the next whole number when it has a
// fraction ("17,3" and "17.3" give "18") and keeps whole numbers ("17,0" gives
// "17"); the result is a text in the locale. Either "," or "." marks the
// fraction; when both occur the locale's own separator does. Empty when the
// text is empty or not a number.
QString RoundUpNumberText(const QString& text);

// ---- the wing-span chains ----------------------------------------------------
// Each returns the next box's text; empty text empties the rest of the chain.

// Span in feet to metres: CleanNumber(text) x 0.0254 x 12, in that order.
// Empty for an empty text or one without a leading number.
QString metresFromFeetText(const QString& feetText);

// Half of the metres in `metresText`, converted by the locale's rules.
QString halfSpanText(const QString& metresText);

// Parking-spot size for a half span: the half span rounded up.
QString spotSizeText(const QString& halfSpanText);

} // namespace numbertext
