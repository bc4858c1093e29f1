#include "editing/InputRules.h"

namespace InputRules {

namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool isDecimalMark(char16_t key)
{
    return key == u'.' || key == u',';
}

} // namespace

bool isLocaleNumber(QStringView text, QChar decimalSep)
{
    const QChar group = decimalSep == u',' ? QChar(u'.') : QChar(u',');
    qsizetype i = 0;
    const qsizetype n = text.size();
    if (i < n && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    bool digits = false;
    for (; i < n && (isDigit(text[i]) || text[i] == group); ++i)
        digits = digits || isDigit(text[i]);
    if (i < n && text[i] == decimalSep) {
        for (++i; i < n && isDigit(text[i]); ++i)
            digits = true;
    }
    return digits && i == n;
}

char16_t numericKey(char16_t key, const QString& text, QChar decimalSep, bool allowMinus)
{
    if (isDecimalMark(key) && (text.contains(u'.') || text.contains(u',')))
        return kDropped;
    const bool untested = key == kBackspace || (allowMinus && key == u'-');
    if (!untested && !isLocaleNumber(QString(text + QChar(key)), decimalSep))
        return kDropped;
    if (isDecimalMark(key))
        return decimalSep.unicode();
    return key;
}

ParkingKey parkingCodeKey(char16_t key, const QString& text)
{
    if (key == u' ')
        key = kDropped; // and the length test below still sees a key
    if (key == u',' && text.count(u',') >= kMaxParkingCodes - 1)
        return {kDropped, ParkingMessage::TooManyCodes};
    const QString lastCode = text.mid(text.lastIndexOf(u',') + 1);
    if (key != kBackspace && key != u',' && lastCode.size() == kMaxParkingCodeLength)
        return {kDropped, ParkingMessage::CodeTooLong};
    return {key, ParkingMessage::None};
}

QString parkingMessageText(ParkingMessage message)
{
    switch (message) {
    case ParkingMessage::TooManyCodes:
        return QStringLiteral("You are not allowed to add more than five (5) parkig codes");
    case ParkingMessage::CodeTooLong:
        return QStringLiteral(
            "A code may not be longer than 5 characters. If you want to efine another parking "
            "code, please type a 'comma' (',') now.");
    case ParkingMessage::None:
        break;
    }
    return {};
}

} // namespace InputRules
