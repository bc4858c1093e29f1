#pragma once

#include <QChar>
#include <QString>

// The key rules of the entry editor's fields: which typed characters a number
// box or the parking-code box takes, and what it takes them as. A rule gets
// the character code of the key and the box's text before the key, and
// returns the code to insert; 0 drops the key. Typed characters come here,
// the control characters of Ctrl shortcuts among them (every paste key comes
// as Ctrl+V's 22), and so does text that enters a field in one piece (pasted,
// dropped), one character at a time; text set by the program is not filtered.
namespace InputRules {

inline constexpr char16_t kBackspace = 8;
inline constexpr char16_t kDropped = 0;

// At most five parking codes, of at most five characters each.
inline constexpr int kMaxParkingCodes = 5;
inline constexpr int kMaxParkingCodeLength = 5;

// True when `text` is a number by the rules of a locale whose decimal
// separator is `decimalSep` ("," or "."): an optional leading sign, digits in
// which the other mark may group the digits before the decimal separator, at
// most one decimal separator, and at least one digit. Blanks and exponents are
// not part of a number here (an exit value is cut at its first blank).
bool isLocaleNumber(QStringView text, QChar decimalSep);

// The number boxes' filter. A decimal mark is dropped when the text holds one
// already; any other key but Backspace (and "-" where `allowMinus`, which is
// never tested) is dropped unless the text followed by the key is a number,
// wherever the caret stands. A decimal mark that stays becomes the locale's.
char16_t numericKey(char16_t key, const QString& text, QChar decimalSep, bool allowMinus);

enum class ParkingMessage
{
    None,
    TooManyCodes, // a sixth code was begun
    CodeTooLong,  // the last code has its five characters
};

struct ParkingKey
{
    char16_t key = kDropped;
    ParkingMessage message = ParkingMessage::None;
};

// The parking-code filter for the comma-separated codes in `text`: a blank is
// dropped (and then counts as a key for the length test); a comma is refused
// once the text holds five codes; any key but Backspace and the comma is
// refused while the last code (the text after the last comma) is exactly five
// characters long. A refusal carries the message to show.
ParkingKey parkingCodeKey(char16_t key, const QString& text);

// The text of a refusal's message box (OK button, information icon).
QString parkingMessageText(ParkingMessage message);

} // namespace InputRules
