#include "mainwindow/widgets/DriveList.h"

#include <QDir>
#include <QFileInfo>
#include <QSignalBlocker>
#include <QStorageInfo>

#include <algorithm>

namespace {

QString normalisedRoot(const QString& path)
{
    QString clean = QDir::cleanPath(path);
    if (clean.size() > 1 && clean.endsWith(u'/'))
        clean.chop(1);
    return clean;
}

// True when root is the path itself or one of its parent folders.
bool holds(const QString& root, const QString& path)
{
    if (root == u"/")
        return path.startsWith(u'/');
    return path == root || path.startsWith(root + u'/');
}

} // namespace

DriveList::DriveList(QWidget* parent) : QComboBox(parent)
{
    setEditable(false);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(8);
    refresh();
    connect(this, &QComboBox::currentIndexChanged, this, &DriveList::onCurrentIndexChanged);
}

QString DriveList::drive() const
{
    return currentData().toString();
}

bool DriveList::setDrive(const QString& pathOnVolume)
{
    if (pathOnVolume.isEmpty())
        return false;
    const QString path = QDir::cleanPath(QFileInfo(pathOnVolume).absoluteFilePath());
    int best = -1;
    qsizetype bestLength = -1;
    for (int i = 0; i < count(); ++i) {
        const QString root = itemData(i).toString();
        if (holds(root, path) && root.size() > bestLength) {
            best = i;
            bestLength = root.size();
        }
    }
    if (best < 0)
        return false;
    setCurrentIndex(best);
    return true;
}

void DriveList::refresh()
{
    QStringList roots;
    QStringList labels;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady())
            continue;
        const QString root = normalisedRoot(volume.rootPath());
        if (roots.contains(root) || !QFileInfo(root).isDir())
            continue;
        roots.append(root);
        labels.append(volume.name());
    }
    // The root folder always holds every path, even where the mount table
    // cannot be read or names no volume (a container, a chroot).
    if (!roots.contains(QStringLiteral("/"))) {
        roots.prepend(QStringLiteral("/"));
        labels.prepend(QString());
    }
    setVolumes(roots, labels);
}

void DriveList::setVolumes(const QStringList& rootPaths, const QStringList& labels)
{
    struct Volume
    {
        QString root;
        QString label;
    };
    QList<Volume> list;
    for (qsizetype i = 0; i < rootPaths.size(); ++i) {
        const QString root = normalisedRoot(rootPaths.at(i));
        if (root.isEmpty() ||
            std::any_of(list.cbegin(), list.cend(), [&](const Volume& v) { return v.root == root; }))
            continue;
        list.append({root, i < labels.size() ? labels.at(i) : QString()});
    }
    // The root first, then by mount point.
    std::sort(list.begin(), list.end(), [](const Volume& a, const Volume& b) {
        if ((a.root == u"/") != (b.root == u"/"))
            return a.root == u"/";
        return a.root < b.root;
    });

    const QString previous = drive();
    {
        const QSignalBlocker blocker(this);
        clear();
        for (const Volume& v : list) {
            const QString text = v.label.isEmpty() ? v.root : v.root + QStringLiteral("  [") + v.label + u']';
            addItem(text, v.root);
        }
        const int keep = findData(previous);
        setCurrentIndex(keep >= 0 ? keep : (count() > 0 ? 0 : -1));
    }
    onCurrentIndexChanged();
}

QStringList DriveList::volumes() const
{
    QStringList roots;
    for (int i = 0; i < count(); ++i)
        roots.append(itemData(i).toString());
    return roots;
}

void DriveList::onCurrentIndexChanged()
{
    const QString now = drive();
    if (now == m_lastDrive)
        return;
    m_lastDrive = now;
    emit changed();
}
