#include "editing/NumberText.h"

#include <QLocale>
#include <QTest>

#include <cmath>
#include <limits>

using namespace numbertext;

namespace {

// The same case in a decimal-comma locale: "," and "." change places.
QString swapMarks(QString s)
{
    for (QChar& c : s) {
        if (c == u'.')
            c = u',';
        else if (c == u',')
            c = u'.';
    }
    return s;
}

QLocale localeNamed(const QString& name)
{
    return QLocale(name);
}

// Adds one row per locale: as written for en_US, with the marks swapped for de_DE.
template <typename... Texts> void addBoth(const char* name, const Texts&... texts)
{
    ((QTest::addRow("en_US: %s", name) << QStringLiteral("en_US")) << ... << QString(texts));
    ((QTest::addRow("de_DE: %s", name) << QStringLiteral("de_DE")) << ... << swapMarks(QString(texts)));
}

} // namespace

class TestNumberText : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void wingSpanChain_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("feet");
        QTest::addColumn<QString>("metres");
        QTest::addColumn<QString>("half");
        QTest::addColumn<QString>("spot");

        addBoth("35 ft", "35", "10.668", "5.334", "6");
        addBoth("100 ft", "100", "30.48", "15.24", "16");
        addBoth("fraction and unit", "35.5 ft", "10.8204", "5.4102", "6");
        addBoth("250 ft", "250", "76.2", "38.1", "39");
        addBoth("zero", "0", "0", "0", "0");
        // Tiny and huge spans come out in exponent form; the spot still rounds up.
        addBoth("tiny span", "0.00001", "3.048E-06", "1.524E-06", "1");
        addBoth("huge span", "1000000000000000000", "3.048E+17", "1.524E+17", "1.524E+17");
        addBoth("empty box empties the chain", "", "", "", "");
        addBoth("no leading number", "ft 35", "", "", "");
        addBoth("negative span", "-35", "", "", "");
        addBoth("leading blank", " 35", "", "", "");
        addBoth("only a mark", ".", "", "", "");
        addBoth("two decimal marks", "35.5.5", "", "", "");
        // The other mark groups digits: "35.5" typed under a decimal comma is 355 ft.
        QTest::addRow("de_DE: point groups") << "de_DE"
                                             << "35.5"
                                             << "108,204"
                                             << "54,102"
                                             << "55";
        QTest::addRow("en_US: comma groups") << "en_US"
                                             << "1,000"
                                             << "304.8"
                                             << "152.4"
                                             << "153";
    }
    void wingSpanChain()
    {
        QFETCH(QString, locale);
        QFETCH(QString, feet);
        QFETCH(QString, metres);
        QFETCH(QString, half);
        QFETCH(QString, spot);
        QLocale::setDefault(localeNamed(locale));

        QCOMPARE(metresFromFeetText(feet), metres);
        QCOMPARE(halfSpanText(metres), half);
        QCOMPARE(spotSizeText(half), spot);
    }

    void decimalSeparator_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("separator");
        QTest::newRow("en_US") << "en_US"
                               << ".";
        QTest::newRow("de_DE") << "de_DE"
                               << ",";
    }
    void decimalSeparator()
    {
        QFETCH(QString, locale);
        QFETCH(QString, separator);
        QLocale::setDefault(localeNamed(locale));
        QCOMPARE(GetDecimalSeparator(), separator);
    }

    void cleanNumber_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value"); // NaN: nothing to convert

        const double none = std::numeric_limits<double>::quiet_NaN();
        QTest::newRow("de_DE: comma and unit") << "de_DE"
                                               << "35,5 ft" << 35.5;
        QTest::newRow("en_US: comma groups") << "en_US"
                                             << "35,5 ft" << 355.0;
        QTest::newRow("de_DE: grouped") << "de_DE"
                                        << "1.234,5" << 1234.5;
        QTest::newRow("en_US: grouped") << "en_US"
                                        << "1,234.5" << 1234.5;
        QTest::newRow("en_US: leading run only") << "en_US"
                                                 << "12abc3" << 12.0;
        QTest::newRow("en_US: empty") << "en_US"
                                      << "" << none;
        QTest::newRow("en_US: letters") << "en_US"
                                        << "ft" << none;
        QTest::newRow("en_US: minus") << "en_US"
                                      << "-3" << none;
        QTest::newRow("en_US: group after decimal") << "en_US"
                                                    << "1.5,3" << none;
        QTest::newRow("de_DE: two decimals") << "de_DE"
                                             << "1,2,3" << none;
        QTest::newRow("en_US: too large") << "en_US" << QString(400, u'9') << none;
    }
    void cleanNumber()
    {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(double, value);
        QLocale::setDefault(localeNamed(locale));
        const std::optional<double> r = CleanNumber(text);
        QCOMPARE(r.has_value(), !std::isnan(value));
        if (r)
            QCOMPARE(*r, value);
    }

    void roundUp_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("result");

        addBoth("whole number", "12", "12");
        addBoth("half", "0.5", "1");
        addBoth("fraction", "17.3", "18");
        addBoth("zero fraction", "17.0", "17");
        addBoth("tiny fraction", "17.0001", "18");
        addBoth("exponent form", "1.524E-06", "1");
        addBoth("exponent without mark", "5E-07", "1");
        addBoth("negative", "-5.3", "-5");
        addBoth("empty", "", "");
        addBoth("not a number", "abc", "");
        // A lone mark is the fraction's whatever the locale.
        QTest::addRow("en_US: lone comma") << "en_US"
                                           << "17,3"
                                           << "18";
        QTest::addRow("en_US: lone comma, zero fraction") << "en_US"
                                                          << "17,0"
                                                          << "17";
        QTest::addRow("de_DE: lone point") << "de_DE"
                                           << "17.3"
                                           << "18";
        // With both marks the locale's own one is the decimal.
        QTest::addRow("en_US: grouped") << "en_US"
                                        << "1,234.5"
                                        << "1235";
        QTest::addRow("de_DE: grouped") << "de_DE"
                                        << "1.234,5"
                                        << "1235";
    }
    void roundUp()
    {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(QString, result);
        QLocale::setDefault(localeNamed(locale));
        QCOMPARE(RoundUpNumberText(text), result);
    }

    void toText_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");

        const auto both = [](const char* name, double v, const char* text) {
            QTest::addRow("en_US: %s", name) << QStringLiteral("en_US") << v << QString(text);
            QTest::addRow("de_DE: %s", name) << QStringLiteral("de_DE") << v << swapMarks(text);
        };
        both("zero", 0.0, "0");
        both("negative zero", -0.0, "0");
        both("one and a half", 1.5, "1.5");
        both("0.1 + 0.2", 0.1 + 0.2, "0.3");
        both("third, 15 digits", 1.0 / 3, "0.333333333333333");
        both("two thirds rounds", 2.0 / 3, "0.666666666666667");
        both("33.33...", 100.0 / 3, "33.3333333333333");
        both("no group separators", 1234567.5, "1234567.5");
        both("negative", -2.5, "-2.5");
        both("largest plain", 999999999999999.0, "999999999999999");
        both("1E+15", 1e15, "1E+15");
        both("rounds into exponent form", 999999999999999.9, "1E+15");
        both("long exponent form", 123456789012345678.0, "1.23456789012346E+17");
        both("0.0001 plain", 0.0001, "0.0001");
        both("1E-05", 0.00001, "1E-05");
        both("1.5E-07", 1.5e-7, "1.5E-07");
        both("three-digit exponent", 1e100, "1E+100");
        both("tiny", -1e-100, "-1E-100");
        both("infinity", std::numeric_limits<double>::infinity(), "");
    }
    void toText()
    {
        QFETCH(QString, locale);
        QFETCH(double, value);
        QFETCH(QString, text);
        QLocale::setDefault(localeNamed(locale));
        QCOMPARE(numbertext::toText(value), text);
        // What is shown converts back to the shown number.
        if (!text.isEmpty())
            QCOMPARE(numbertext::toText(*numbertext::toDouble(text)), text);
    }

    void toDouble_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value"); // NaN: not a number

        const double none = std::numeric_limits<double>::quiet_NaN();
        QTest::newRow("de_DE: comma") << "de_DE"
                                      << "1,5" << 1.5;
        QTest::newRow("de_DE: point groups") << "de_DE"
                                             << "1.5" << 15.0;
        QTest::newRow("de_DE: groups anywhere before the decimal") << "de_DE"
                                                                   << "1.5.5" << 155.0;
        QTest::newRow("de_DE: point after decimal") << "de_DE"
                                                    << "1,5.5" << none;
        QTest::newRow("de_DE: negative exponent form") << "de_DE"
                                                       << "-1,5E-07" << -1.5e-7;
        QTest::newRow("en_US: blanks and plus") << "en_US"
                                                << " +42 " << 42.0;
        QTest::newRow("en_US: lower-case exponent") << "en_US"
                                                    << "1e5" << 1e5;
        QTest::newRow("en_US: exponent without digits") << "en_US"
                                                        << "1E" << none;
        QTest::newRow("en_US: exponent alone") << "en_US"
                                               << "E5" << none;
        QTest::newRow("en_US: empty") << "en_US"
                                      << "" << none;
        QTest::newRow("en_US: blank") << "en_US"
                                      << "  " << none;
        QTest::newRow("en_US: trailing text") << "en_US"
                                              << "12 ft" << none;
        QTest::newRow("en_US: overflow") << "en_US"
                                         << "1E400" << none;
    }
    void toDouble()
    {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(double, value);
        QLocale::setDefault(localeNamed(locale));
        const std::optional<double> r = numbertext::toDouble(text);
        QCOMPARE(r.has_value(), !std::isnan(value));
        if (r)
            QCOMPARE(*r, value);
    }

    void toByte_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value"); // -1: refused

        QTest::newRow("whole") << "42" << 42;
        QTest::newRow("half to even, down") << "42,5" << 42;
        QTest::newRow("half to even, up") << "43,5" << 44;
        QTest::newRow("255") << "255" << 255;
        QTest::newRow("255,5 rounds to 256") << "255,5" << -1;
        QTest::newRow("256") << "256" << -1;
        QTest::newRow("-1") << "-1" << -1;
        QTest::newRow("-0,4 rounds to 0") << "-0,4" << 0;
        QTest::newRow("not a number") << "x" << -1;
        QTest::newRow("empty") << "" << -1;
    }
    void toByte()
    {
        QFETCH(QString, text);
        QFETCH(int, value);
        QLocale::setDefault(localeNamed("de_DE"));
        const std::optional<quint8> r = numbertext::toByte(text);
        QCOMPARE(r.has_value(), value >= 0);
        if (r)
            QCOMPARE(int(*r), value);
    }

    void roundHalfEven_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("rounded");
        QTest::newRow("0.5") << 0.5 << 0.0;
        QTest::newRow("1.5") << 1.5 << 2.0;
        QTest::newRow("2.5") << 2.5 << 2.0;
        QTest::newRow("2.4999") << 2.4999 << 2.0;
        QTest::newRow("-1.5") << -1.5 << -2.0;
        QTest::newRow("-2.5") << -2.5 << -2.0;
    }
    void roundHalfEven()
    {
        QFETCH(double, value);
        QFETCH(double, rounded);
        QCOMPARE(numbertext::roundHalfEven(value), rounded);
    }
};

QTEST_GUILESS_MAIN(TestNumberText)
#include "tst_numbertext.moc"
