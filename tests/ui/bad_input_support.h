#pragma once

#include <QByteArray>
#include <QPoint>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <map>
#include <string>
#include <vector>

class Form1;
struct FakeDesktop;

// Every file and folder below a folder, by relative path: a folder's entry has no bytes.
struct FolderEntry {
    bool isFolder = false;
    QByteArray bytes;
    bool operator==(const FolderEntry &) const = default;
};
using FolderSnapshot = std::map<QString, FolderEntry>;

[[nodiscard]] FolderSnapshot snapshotOf(const QString &folder);
// The relative paths that appeared, disappeared or changed between two snapshots, sorted.
[[nodiscard]] std::vector<std::string> changedPaths(const FolderSnapshot &before, const FolderSnapshot &after);

// Saves linearChart() as `fileName` in `folder`, loads it through the picture dialog, types its four values and
// assigns its four ticks, as a user would. x = (px - 50) / 5 and y = (350 - py) / 10 then.
void calibrateLinearChart(Form1 &form, FakeDesktop &desktop, const QString &folder, const QString &fileName);

// The recorded text of a linear chart value at a pixel: four decimals, "." as the mark.
[[nodiscard]] QByteArray expectedX(int pixelX);
[[nodiscard]] QByteArray expectedY(int pixelY);

[[nodiscard]] bool writeBytes(const QString &path, const QByteArray &bytes);

// A 64 KiB file system of its own, so that a test can fill it. Mounted directly where that is allowed (root),
// otherwise in a private mount namespace that a helper process holds open and this one reaches through /proc.
class SmallDisk {
public:
    SmallDisk();
    ~SmallDisk();
    SmallDisk(const SmallDisk &) = delete;
    SmallDisk &operator=(const SmallDisk &) = delete;

    // Where the small file system is seen from here; empty when neither way could mount one.
    [[nodiscard]] const QString &path() const { return m_path; }

private:
    QTemporaryDir m_mountPoint;
    QProcess m_holder;
    QString m_path;
    bool m_mounted = false;
};

// Writes a file until the file system has no room left; its size, or -1 when it cannot be made.
[[nodiscard]] qint64 fillUp(const QString &path);
