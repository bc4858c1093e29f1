#pragma once

#include <QComboBox>
#include <QStringList>

// The drive list: one item per mounted volume, the root "/" first, the others
// by mount point. It raises changed() whenever the chosen volume really changes,
// whether the user picked it or the program set it.
class DriveList : public QComboBox
{
    Q_OBJECT

public:
    explicit DriveList(QWidget* parent = nullptr);

    // Mount point of the chosen volume ("/" or "/media/usb", never a trailing
    // "/" except for the root); empty when the list is empty.
    QString drive() const;
    // Chooses the volume that holds the path: the longest mount point that is
    // the path itself or one of its parent folders. Returns false (and keeps the
    // choice) when no listed volume holds it.
    bool setDrive(const QString& pathOnVolume);

    // Lists the mounted volumes again, keeping the choice when it is still there.
    void refresh();
    // Lists exactly these mount points (labels are shown beside them when given).
    void setVolumes(const QStringList& rootPaths, const QStringList& labels = {});
    // The mount points in list order.
    QStringList volumes() const;

signals:
    void changed();

private:
    void onCurrentIndexChanged();

    QString m_lastDrive;
};
