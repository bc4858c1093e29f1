// The key rules of the number boxes and the parking-code box, in both
// decimal-mark locales.
#include "editing/InputRules.h"

#include <QTest>

using InputRules::ParkingMessage;
Q_DECLARE_METATYPE(InputRules::ParkingMessage)

class TestInputRules : public QObject
{
    Q_OBJECT

private slots:
    void numericKey_data()
    {
        QTest::addColumn<QChar>("sep");
        QTest::addColumn<bool>("allowMinus");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("expected"); // 0: dropped

        const QChar comma(u','), point(u'.');
        // Both marks become the locale's own; a second mark is refused.
        QTest::newRow("de: 1 then . gives ,") << comma << false << "1" << int('.') << int(',');
        QTest::newRow("de: 1 then , stays ,") << comma << false << "1" << int(',') << int(',');
        QTest::newRow("de: digit after the mark") << comma << false << "1," << int('5') << int('5');
        QTest::newRow("de: second ,") << comma << false << "1,5" << int(',') << 0;
        QTest::newRow("de: second .") << comma << false << "1,5" << int('.') << 0;
        QTest::newRow("en: 1 then , gives .") << point << false << "1" << int(',') << int('.');
        QTest::newRow("en: 1 then . stays .") << point << false << "1" << int('.') << int('.');
        QTest::newRow("en: second mark") << point << false << "1.5" << int(',') << 0;
        // A mark already in the text, even the foreign one, refuses both marks.
        QTest::newRow("en: file value 1,5 then .") << point << true << "1,5" << int('.') << 0;
        // A value from the file with the other mark still takes digits (it
        // reads as grouped digits).
        QTest::newRow("de: file value 0.4 takes 5") << comma << true << "0.4" << int('5') << int('5');
        QTest::newRow("first digit") << point << false << "" << int('7') << int('7');
        QTest::newRow("mark before any digit") << comma << false << "" << int('.') << 0;

        // Minus: never in the radius and span boxes, anywhere in exit boxes.
        QTest::newRow("no-minus box, empty") << point << false << "" << int('-') << 0;
        QTest::newRow("no-minus box, after digits") << point << false << "12" << int('-') << 0;
        QTest::newRow("exit box, empty") << point << true << "" << int('-') << int('-');
        QTest::newRow("exit box, after digits") << point << true << "12" << int('-') << int('-');
        QTest::newRow("exit box, second minus") << point << true << "-" << int('-') << int('-');
        QTest::newRow("exit box, digit after a leading minus") << point << true << "-" << int('3') << int('3');
        // The test sees the text with the key at its end.
        QTest::newRow("exit box, digit after a trailing minus") << point << true << "5-" << int('3') << 0;

        // Backspace always passes; other keys only when the text stays a number.
        QTest::newRow("backspace, number box") << comma << false << "1,5" << 8 << 8;
        QTest::newRow("backspace, exit box") << point << true << "--" << 8 << 8;
        QTest::newRow("backspace, empty") << point << false << "" << 8 << 8;
        QTest::newRow("letter") << point << false << "1" << int('a') << 0;
        QTest::newRow("exponent letter") << point << false << "1" << int('E') << 0;
        QTest::newRow("blank") << point << true << "1" << int(' ') << 0;
        QTest::newRow("plus") << point << false << "" << int('+') << 0;
        QTest::newRow("Ctrl+V character") << point << false << "1" << 0x16 << 0;
        QTest::newRow("non-ASCII digit") << point << false << "1" << 0x0663 << 0;
    }

    void numericKey()
    {
        QFETCH(QChar, sep);
        QFETCH(bool, allowMinus);
        QFETCH(QString, text);
        QFETCH(int, key);
        QFETCH(int, expected);
        QCOMPARE(int(InputRules::numericKey(char16_t(key), text, sep, allowMinus)), expected);
    }

    void isLocaleNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QChar>("sep");
        QTest::addColumn<bool>("number");
        QTest::newRow("empty") << "" << QChar(u'.') << false;
        QTest::newRow("sign only") << "-" << QChar(u'.') << false;
        QTest::newRow("en grouped") << "1,000.5" << QChar(u'.') << true;
        QTest::newRow("de grouped") << "1.000,5" << QChar(u',') << true;
        QTest::newRow("de two decimal marks") << "1,5,5" << QChar(u',') << false;
        QTest::newRow("group after the decimal mark") << "1.5,5" << QChar(u'.') << false;
        QTest::newRow("trailing mark") << "12," << QChar(u',') << true;
        QTest::newRow("leading mark") << ",5" << QChar(u',') << true;
        QTest::newRow("inner blank") << "1 5" << QChar(u'.') << false;
        QTest::newRow("exponent") << "1E5" << QChar(u'.') << false;
    }

    void isLocaleNumber()
    {
        QFETCH(QString, text);
        QFETCH(QChar, sep);
        QFETCH(bool, number);
        QCOMPARE(InputRules::isLocaleNumber(text, sep), number);
    }

    void parkingCodeKey_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("expected");
        QTest::addColumn<ParkingMessage>("message");

        QTest::newRow("sixth character of a code") << "AB12C" << int('D') << 0 << ParkingMessage::CodeTooLong;
        QTest::newRow("comma after five characters") << "AB12C" << int(',') << int(',') << ParkingMessage::None;
        QTest::newRow("new code after the comma") << "AB12C," << int('D') << int('D') << ParkingMessage::None;
        QTest::newRow("sixth code") << "A,B,C,D,E" << int(',') << 0 << ParkingMessage::TooManyCodes;
        QTest::newRow("sixth code, last one full") << "A,B,C,D,ABCDE" << int(',') << 0 << ParkingMessage::TooManyCodes;
        QTest::newRow("fifth code grows") << "A,B,C,D,E" << int('x') << int('x') << ParkingMessage::None;
        QTest::newRow("blank after a full code") << "AB12C" << int(' ') << 0 << ParkingMessage::CodeTooLong;
        QTest::newRow("blank elsewhere") << "AB" << int(' ') << 0 << ParkingMessage::None;
        QTest::newRow("blank in an empty box") << "" << int(' ') << 0 << ParkingMessage::None;
        QTest::newRow("backspace after a full code") << "AB12C" << 8 << 8 << ParkingMessage::None;
        QTest::newRow("backspace with five codes") << "A,B,C,D,EEEEE" << 8 << 8 << ParkingMessage::None;
        // Only exactly five characters stop a code: a longer one from the file
        // takes further keys.
        QTest::newRow("six characters from the file") << "ABCDEF" << int('G') << int('G') << ParkingMessage::None;
        QTest::newRow("letters keep their case") << "ab" << int('c') << int('c') << ParkingMessage::None;
        QTest::newRow("first comma") << "" << int(',') << int(',') << ParkingMessage::None;
    }

    void parkingCodeKey()
    {
        QFETCH(QString, text);
        QFETCH(int, key);
        QFETCH(int, expected);
        QFETCH(ParkingMessage, message);
        const InputRules::ParkingKey r = InputRules::parkingCodeKey(char16_t(key), text);
        QCOMPARE(int(r.key), expected);
        QCOMPARE(r.message, message);
    }

    void parkingMessages()
    {
        QCOMPARE(InputRules::parkingMessageText(ParkingMessage::TooManyCodes),
                 QStringLiteral("You are not allowed to add more than five (5) parkig codes"));
        QCOMPARE(
            InputRules::parkingMessageText(ParkingMessage::CodeTooLong),
            QStringLiteral("A code may not be longer than 5 characters. If you want to efine another parking "
                           "code, please type a 'comma' (',') now."));
        QCOMPARE(InputRules::parkingMessageText(ParkingMessage::None), QString());
    }
};

QTEST_GUILESS_MAIN(TestInputRules)
#include "tst_inputrules.moc"
