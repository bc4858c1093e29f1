#include "TestUtil.h"

#include "mainwindow/widgets/DirList.h"
#include "mainwindow/widgets/DriveList.h"

#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QSignalSpy>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QTest>

namespace {

QStringList itemTexts(const QListWidget& list)
{
    QStringList texts;
    for (int i = 0; i < list.count(); ++i)
        texts << list.item(i)->text();
    return texts;
}

// The ancestors of a folder from the root down, the folder included.
QStringList chainOf(const QString& path)
{
    QStringList chain;
    QString p = QDir::cleanPath(path);
    for (;;) {
        chain.prepend(p);
        if (p == u"/")
            break;
        p = QFileInfo(p).path();
    }
    return chain;
}

} // namespace

// The main window's drive and folder lists.
class tst_FolderWidgets : public QObject
{
    Q_OBJECT

private slots:
    void driveListRealVolumes()
    {
        DriveList drives;
        QVERIFY(drives.count() > 0);
        QCOMPARE(drives.volumes().first(), QStringLiteral("/"));
        QCOMPARE(drives.drive(), QStringLiteral("/"));

        QTemporaryDir dir;
        QVERIFY(drives.setDrive(dir.path()));
        QString expected = QStorageInfo(dir.path()).rootPath();
        if (expected.size() > 1 && expected.endsWith(u'/'))
            expected.chop(1);
        if (expected.isEmpty()) // no readable mount table (a chroot): the root holds it
            expected = QStringLiteral("/");
        QCOMPARE(drives.drive(), expected);
    }

    void driveListOrder()
    {
        DriveList drives;
        drives.setVolumes({"/mnt/b", "/", "/mnt/a/", "/mnt/a", "/boot"}, {"B", "", "A", "A again", ""});
        QCOMPARE(drives.volumes(), (QStringList{"/", "/boot", "/mnt/a", "/mnt/b"}));
        QCOMPARE(drives.itemText(2), QStringLiteral("/mnt/a  [A]"));
        QCOMPARE(drives.itemText(0), QStringLiteral("/"));
    }

    void driveListSetDrive_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QString>("drive");
        QTest::newRow("deepest mount wins") << "/home/user/data/x/y" << true << "/home/user/data";
        QTest::newRow("mount point itself") << "/home" << true << "/home";
        QTest::newRow("only whole folder names") << "/homework2/a" << true << "/";
        QTest::newRow("sibling with common prefix") << "/homework/a" << true << "/homework";
        QTest::newRow("prefix of a name is not a parent") << "/home/userx" << true << "/home";
        QTest::newRow("dot-dot leaves the mount") << "/home/user/data/../../../etc" << true << "/";
        QTest::newRow("trailing slash") << "/home/" << true << "/home";
        QTest::newRow("empty path") << "" << false << "/";
    }
    void driveListSetDrive()
    {
        QFETCH(QString, path);
        QFETCH(bool, found);
        QFETCH(QString, drive);
        DriveList drives;
        drives.setVolumes({"/", "/home", "/home/user/data", "/homework"});
        QCOMPARE(drives.setDrive(path), found);
        QCOMPARE(drives.drive(), drive);
    }

    void driveListChangedOnlyOnRealChange()
    {
        DriveList drives;
        drives.setVolumes({"/", "/mnt/a", "/mnt/b"});
        QSignalSpy changed(&drives, &DriveList::changed);

        QVERIFY(drives.setDrive("/usr/lib"));
        QCOMPARE(changed.count(), 0); // still "/"
        QVERIFY(drives.setDrive("/mnt/a/x"));
        QCOMPARE(changed.count(), 1);
        QVERIFY(drives.setDrive("/mnt/a/y"));
        QCOMPARE(changed.count(), 1);

        // A user's pick with the keyboard.
        drives.setFocus();
        QTest::keyClick(&drives, Qt::Key_Down);
        QCOMPARE(drives.drive(), QStringLiteral("/mnt/b"));
        QCOMPARE(changed.count(), 2);

        // A new list that keeps the chosen volume changes nothing; one without it
        // falls back to the first volume and says so.
        drives.setVolumes({"/mnt/b", "/"});
        QCOMPARE(changed.count(), 2);
        drives.setVolumes({"/", "/mnt/c"});
        QCOMPARE(drives.drive(), QStringLiteral("/"));
        QCOMPARE(changed.count(), 3);

        // No volume holds a relative-free path when the root is missing.
        drives.setVolumes({"/mnt/c"});
        QCOMPARE(changed.count(), 4);
        QVERIFY(!drives.setDrive("/usr"));
        QCOMPARE(drives.drive(), QStringLiteral("/mnt/c"));
        QCOMPARE(changed.count(), 4);
    }

    void dirListAncestorsAndSubfolders()
    {
        QTemporaryDir tmp;
        const QString base = tmp.path() + QStringLiteral("/Aircraft");
        for (const char* sub : {"beta", "Alpha", "gamma", "Beta2", ".hidden"})
            testutil::makeDir(base + u'/' + QString::fromLatin1(sub));
        testutil::writeFile(base + QStringLiteral("/aircraft.cfg"), "[fltsim.0]\r\n");

        DirList list;
        QVERIFY(list.setPath(base));
        QCOMPARE(list.path(), QDir::cleanPath(base));
        const QStringList chain = chainOf(base);

        // Subfolders: files and hidden folders left out, sorted without regard to case.
        QCOMPARE(list.listCount(), 4);
        QStringList subs;
        for (int i = 0; i < list.listCount(); ++i)
            subs << QFileInfo(list.listPath(i)).fileName();
        QCOMPARE(subs, (QStringList{"Alpha", "beta", "Beta2", "gamma"}));
        QCOMPARE(list.listPath(0), base + QStringLiteral("/Alpha"));

        // Ancestors: -1 the folder itself, then upwards to the root.
        for (int i = 1; i <= chain.size(); ++i)
            QCOMPARE(list.listPath(-i), chain.at(chain.size() - i));
        QCOMPARE(list.listPath(-int(chain.size()) - 1), QString());
        QCOMPARE(list.listPath(4), QString());

        // What the user sees: "/" first, one name per level, the subfolders last.
        const QStringList texts = itemTexts(list);
        QCOMPARE(texts.size(), chain.size() + 4);
        QCOMPARE(texts.first(), QStringLiteral("/"));
        QCOMPARE(texts.at(chain.size() - 1), QStringLiteral("Aircraft"));
        QCOMPARE(texts.mid(chain.size()), subs);
        QCOMPARE(list.listIndex(), -1);
        QCOMPARE(list.currentItem()->text(), QStringLiteral("Aircraft"));
    }

    void dirListSetPath_data()
    {
        QTest::addColumn<QString>("target"); // below the fixture folder; "<empty>" is no text at all
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<int>("raised");
        QTest::addColumn<QString>("after");
        QTest::newRow("same folder") << "a" << true << 0 << "a";
        QTest::newRow("same folder, trailing slash") << "a/" << true << 0 << "a";
        QTest::newRow("same folder, dot segments") << "a/../a/." << true << 0 << "a";
        QTest::newRow("subfolder") << "a/b" << true << 1 << "a/b";
        QTest::newRow("parent") << "" << true << 1 << "";
        QTest::newRow("missing folder") << "a/none" << false << 0 << "a";
        QTest::newRow("a file") << "a/file.txt" << false << 0 << "a";
        QTest::newRow("empty text") << "<empty>" << false << 0 << "a";
    }
    void dirListSetPath()
    {
        QFETCH(QString, target);
        QFETCH(bool, accepted);
        QFETCH(int, raised);
        QFETCH(QString, after);

        QTemporaryDir tmp;
        const QString root = QDir::cleanPath(tmp.path());
        testutil::makeDir(root + QStringLiteral("/a/b"));
        testutil::writeFile(root + QStringLiteral("/a/file.txt"), "x");
        DirList list;
        QVERIFY(list.setPath(root + QStringLiteral("/a")));
        const QStringList before = itemTexts(list);

        QSignalSpy changed(&list, &DirList::changed);
        const QString path = target == u"<empty>" ? QString() : root + u'/' + target;
        QCOMPARE(list.setPath(path), accepted);
        QCOMPARE(changed.count(), raised);
        QCOMPARE(list.path(), QDir::cleanPath(root + u'/' + after));
        if (raised == 0)
            QCOMPARE(itemTexts(list), before);
    }

    void dirListEnterAndDoubleClickMove()
    {
        QTemporaryDir tmp;
        const QString root = QDir::cleanPath(tmp.path());
        testutil::makeDir(root + QStringLiteral("/one/two"));
        DirList list;
        list.resize(300, 400);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        QVERIFY(list.setPath(root));
        QSignalSpy changed(&list, &DirList::changed);

        list.setListIndex(0);
        list.setFocus();
        QTest::keyClick(&list, Qt::Key_Return);
        QCOMPARE(list.path(), root + QStringLiteral("/one"));
        QCOMPARE(changed.count(), 1);

        const int row = list.count() - 1; // the only subfolder, "two"
        QCOMPARE(list.item(row)->text(), QStringLiteral("two"));
        // A double click is a click followed by the second press.
        const QPoint at = list.visualItemRect(list.item(row)).center();
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(changed.count(), 1); // a single click only highlights
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(list.path(), root + QStringLiteral("/one/two"));
        QCOMPARE(changed.count(), 2);

        // Enter on an ancestor moves up; on the current folder it changes nothing.
        list.setListIndex(-3);
        QTest::keyClick(&list, Qt::Key_Enter);
        QCOMPARE(list.path(), root);
        QCOMPARE(changed.count(), 3);
        QTest::keyClick(&list, Qt::Key_Return);
        QCOMPARE(changed.count(), 3);
    }

    void dirListHighlightWithoutMoving()
    {
        QTemporaryDir tmp;
        const QString root = QDir::cleanPath(tmp.path());
        for (const char* sub : {"B737", "A320", "C172"})
            testutil::makeDir(root + u'/' + QString::fromLatin1(sub));
        DirList list;
        QVERIFY(list.setPath(root));
        QSignalSpy changed(&list, &DirList::changed);

        // Highlighting the folder just left, as the "Upwards" button does.
        for (int i = 0; i < list.listCount(); ++i) {
            if (list.listPath(i).section(u'/', -1) == u"B737")
                list.setListIndex(i);
        }
        QCOMPARE(list.listIndex(), 1);
        QCOMPARE(list.currentItem()->text(), QStringLiteral("B737"));
        QCOMPARE(list.path(), root);
        QCOMPARE(changed.count(), 0);

        list.setListIndex(3); // no such entry: the highlight stays
        QCOMPARE(list.listIndex(), 1);
        list.setListIndex(-2);
        QCOMPARE(list.listPath(list.listIndex()), QFileInfo(root).path());
    }

    void dirListRefresh()
    {
        QTemporaryDir tmp;
        const QString root = QDir::cleanPath(tmp.path());
        testutil::makeDir(root + QStringLiteral("/b"));
        DirList list;
        QVERIFY(list.setPath(root));
        QSignalSpy changed(&list, &DirList::changed);
        list.setListIndex(0);

        testutil::makeDir(root + QStringLiteral("/a"));
        QCOMPARE(list.listCount(), 1);
        list.refresh();
        QCOMPARE(list.listCount(), 2);
        QCOMPARE(list.listPath(0), root + QStringLiteral("/a"));
        QCOMPARE(list.listPath(list.listIndex()), root + QStringLiteral("/b")); // highlight kept on "b"
        QCOMPARE(changed.count(), 0);

        // The current folder vanishing leaves an empty folder list, not a crash.
        QVERIFY(QDir(root).removeRecursively());
        list.refresh();
        QCOMPARE(list.listCount(), 0);
        QCOMPARE(list.listPath(-1), root);
    }

    void dirListHeld()
    {
        QTemporaryDir tmp;
        const QString root = QDir::cleanPath(tmp.path());
        for (const char* sub : {"/a/x", "/a/y", "/b"})
            testutil::makeDir(root + QString::fromLatin1(sub));
        DirList list;
        QVERIFY(list.setPath(root));
        QSignalSpy changed(&list, &DirList::changed);

        // Held: the folder moves and says so, the list stays as it was.
        list.holdList(true);
        QVERIFY(list.setPath(root + QStringLiteral("/a")));
        QCOMPARE(list.path(), root + QStringLiteral("/a"));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(list.listPath(1), root + QStringLiteral("/b"));
        list.holdList(false);
        QCOMPARE(list.listCount(), 2);
        QCOMPARE(list.listPath(1), root + QStringLiteral("/a/y"));

        // Back at the folder it lists while held: released, it lists it afresh.
        list.setListIndex(0);
        list.holdList(true);
        QVERIFY(list.setPath(root));
        QVERIFY(list.setPath(root + QStringLiteral("/a")));
        list.holdList(false);
        QCOMPARE(list.listPath(-1), root + QStringLiteral("/a"));
        QCOMPARE(list.listIndex(), -1);
    }

    void dirListUnreadableFolder()
    {
        if (testutil::runningAsRoot())
            QSKIP("permissions do not restrict root");
        QTemporaryDir tmp;
        const QString locked = QDir::cleanPath(tmp.path()) + QStringLiteral("/locked");
        testutil::makeDir(locked + QStringLiteral("/inner"));
        testutil::setMode(locked, 0000);
        DirList list;
        const bool moved = list.setPath(locked);
        testutil::setMode(locked, 0700);
        QVERIFY(moved);
        QCOMPARE(list.path(), locked);
        QCOMPARE(list.listCount(), 0);
        QCOMPARE(list.listPath(-1), locked);
        QCOMPARE(list.item(0)->text(), QStringLiteral("/"));
    }
};

QTEST_MAIN(tst_FolderWidgets)
#include "tst_folderwidgets.moc"
