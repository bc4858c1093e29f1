#include "editing/NumberText.h"

#include <QLocale>

#include <charconv>
#include <cmath>
#include <string>
#include <string_view>

namespace numbertext {

namespace {

bool isDigit(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

// The locale's decimal separator as one character. Locales whose separator is
// not a single character fall back to ".".
QChar localeDecimal()
{
    const QString point = QLocale().decimalPoint();
    return point.size() == 1 ? point.front() : QChar(u'.');
}

// The other of "," and "." is the group separator the number fields know.
QChar groupFor(QChar decimal)
{
    return decimal == u',' ? QChar(u'.') : QChar(u',');
}

// Parses [blanks][sign]digits-and-groups[decimal digits][E[sign]digits][blanks].
// Group separators are skipped before the decimal separator only; at least
// one digit is needed in the mantissa.
std::optional<double> parse(QStringView text, QChar decimal, std::optional<QChar> group)
{
    const QStringView t = text.trimmed();
    const qsizetype n = t.size();
    qsizetype i = 0;
    bool negative = false;
    if (i < n && (t[i] == u'+' || t[i] == u'-')) {
        negative = t[i] == u'-';
        ++i;
    }
    std::string ascii;
    bool digits = false;
    for (; i < n; ++i) {
        if (isDigit(t[i])) {
            ascii += static_cast<char>(t[i].unicode());
            digits = true;
        } else if (!group || t[i] != *group) {
            break;
        }
    }
    if (i < n && t[i] == decimal) {
        ascii += '.';
        for (++i; i < n && isDigit(t[i]); ++i) {
            ascii += static_cast<char>(t[i].unicode());
            digits = true;
        }
    }
    if (!digits)
        return std::nullopt;
    if (i < n && (t[i] == u'E' || t[i] == u'e')) {
        ascii += 'e';
        ++i;
        if (i < n && (t[i] == u'+' || t[i] == u'-'))
            ascii += static_cast<char>(t[i++].unicode());
        bool exponentDigits = false;
        for (; i < n && isDigit(t[i]); ++i) {
            ascii += static_cast<char>(t[i].unicode());
            exponentDigits = true;
        }
        if (!exponentDigits)
            return std::nullopt;
    }
    if (i != n)
        return std::nullopt;

    double value = 0;
    const char* end = ascii.data() + ascii.size();
    const auto [ptr, ec] = std::from_chars(ascii.data(), end, value, std::chars_format::general);
    if (ec != std::errc() || ptr != end || !std::isfinite(value))
        return std::nullopt;
    return negative ? -value : value;
}

} // namespace

std::optional<double> toDouble(const QString& text)
{
    const QChar decimal = localeDecimal();
    return parse(text, decimal, groupFor(decimal));
}

QString toText(double value)
{
    if (!std::isfinite(value))
        return {};
    if (value == 0)
        return QStringLiteral("0"); // also for -0
    char buf[48];
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
    std::string_view sv(buf, static_cast<size_t>(res.ptr - buf)); // [-]d.ddddddddddddddde[+-]xx
    const bool negative = sv.front() == '-';
    if (negative)
        sv.remove_prefix(1);
    const size_t e = sv.find('e');
    std::string mantissa(1, sv[0]);
    mantissa += sv.substr(2, e - 2);
    while (mantissa.size() > 1 && mantissa.back() == '0')
        mantissa.pop_back();
    int exponent = 0;
    std::string_view exp = sv.substr(e + 1);
    const bool expNegative = exp.front() == '-';
    exp.remove_prefix(1);
    std::from_chars(exp.data(), exp.data() + exp.size(), exponent);
    if (expNegative)
        exponent = -exponent;

    const QChar decimal = localeDecimal();
    const QString digits = QString::fromLatin1(mantissa.data(), static_cast<qsizetype>(mantissa.size()));
    QString out;
    if (negative)
        out += u'-';
    if (exponent < -4 || exponent >= 15) {
        out += digits.front();
        if (digits.size() > 1)
            out += decimal + digits.mid(1);
        out += exponent < 0 ? QStringLiteral("E-") : QStringLiteral("E+");
        out += QStringLiteral("%1").arg(std::abs(exponent), 2, 10, QChar(u'0'));
    } else if (exponent >= 0) {
        const qsizetype whole = exponent + 1;
        if (digits.size() <= whole)
            out += digits + QString(whole - digits.size(), u'0');
        else
            out += digits.left(whole) + decimal + digits.mid(whole);
    } else {
        out += u'0' + QString(decimal) + QString(-exponent - 1, u'0') + digits;
    }
    return out;
}

double roundHalfEven(double value)
{
    // nearbyint follows the current rounding mode, which is to-nearest-even
    // unless someone changed it; do it by hand to be independent of that.
    const double floor = std::floor(value);
    const double diff = value - floor;
    if (diff < 0.5)
        return floor;
    if (diff > 0.5)
        return floor + 1;
    return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

std::optional<quint8> toByte(const QString& text)
{
    const std::optional<double> value = toDouble(text);
    if (!value)
        return std::nullopt;
    const double rounded = roundHalfEven(*value);
    if (rounded < 0 || rounded > 255)
        return std::nullopt;
    return static_cast<quint8>(rounded);
}

std::optional<double> CleanNumber(const QString& text)
{
    qsizetype end = 0;
    while (end < text.size() && (isDigit(text[end]) || text[end] == u',' || text[end] == u'.'))
        ++end;
    if (end == 0)
        return std::nullopt;
    return toDouble(text.left(end));
}

QString GetDecimalSeparator()
{
    return toText(1.5).mid(1, 1);
}

QString RoundUpNumberText(const QString& text)
{
    const bool hasPoint = text.contains(u'.');
    const bool hasComma = text.contains(u',');
    // A lone "," or "." marks the fraction whatever the locale ("17,3" gives 18
    // also where "," groups digits); with both, the locale decides which groups.
    QChar decimal = hasPoint ? QChar(u'.') : QChar(u',');
    std::optional<QChar> group;
    if (hasPoint && hasComma) {
        decimal = localeDecimal() == u',' ? QChar(u',') : QChar(u'.');
        group = groupFor(decimal);
    }
    const std::optional<double> value = parse(text, decimal, group);
    if (!value)
        return {};
    const double whole = std::trunc(*value);
    // Any fraction rounds up; a whole number stays.
    return toText(*value == whole ? whole : std::ceil(*value));
}

QString metresFromFeetText(const QString& feetText)
{
    if (feetText.isEmpty())
        return {};
    const std::optional<double> feet = CleanNumber(feetText);
    if (!feet)
        return {};
    // Two steps, inches then feet, as the values have always been computed.
    double metres = *feet * 0.0254;
    metres = metres * 12;
    return toText(metres);
}

QString halfSpanText(const QString& metresText)
{
    if (metresText.isEmpty())
        return {};
    const std::optional<double> metres = toDouble(metresText);
    if (!metres)
        return {};
    return toText(*metres / 2);
}

QString spotSizeText(const QString& halfSpanText)
{
    if (halfSpanText.isEmpty())
        return {};
    return RoundUpNumberText(halfSpanText);
}

} // namespace numbertext
