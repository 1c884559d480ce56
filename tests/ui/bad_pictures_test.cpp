#include "support/fake_desktop.h"
#include "support/test_charts.h"
#include "support/widget_helpers.h"
#include "ui/bad_input_support.h"
#include "ui/chart_picture.h"
#include "ui/form1.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QImageWriter>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QString kUnreadable = u"\"%1\" dosyası resim olarak okunamadı."_s;

// A BMP header claiming 60000 x 60000 pixels of 24 bits, followed by a few hundred bytes of them.
QByteArray hugeBmp()
{
    QByteArray bytes(54 + 300, '\0');
    const auto put32 = [&](int at, quint32 v) { qToLittleEndian(v, bytes.data() + at); };
    const auto put16 = [&](int at, quint16 v) { qToLittleEndian(v, bytes.data() + at); };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(2, quint32(bytes.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, 60000);
    put32(22, 60000);
    put16(26, 1);
    put16(28, 24);
    return bytes;
}

// A JPEG whose scan data is most of the file: a busy pattern does not compress away.
QByteArray smallJpeg()
{
    QImage image(128, 96, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb((x * 37 + y * 11) % 256, (x * y) % 256, (x ^ y) * 2 % 256));
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG");
    return bytes;
}

// A small real JPEG whose SOF0 segment claims 65500 x 65500.
QByteArray hugeJpeg()
{
    QByteArray bytes = smallJpeg();
    const qsizetype sof = bytes.indexOf("\xFF\xC0");
    if (sof < 0)
        return {};
    // Marker, length (2), precision (1), height (2), width (2).
    qToBigEndian(quint16(65500), bytes.data() + sof + 5);
    qToBigEndian(quint16(65500), bytes.data() + sof + 7);
    return bytes;
}

QByteArray progressiveJpeg()
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(true);
    writer.write(QImage::fromData(smallJpeg()));
    return bytes;
}

QByteArray bmpBytes()
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImage::fromData(smallJpeg()).save(&buffer, "BMP");
    return bytes;
}

QByteArray pngBytes()
{
    QImage image(120, 80, QImage::Format_RGB32);
    image.fill(QColor(10, 200, 30));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

class BadPictures : public ::testing::Test {
protected:
    QString inFolder(const QString &name) const { return QDir(folder.path()).filePath(name); }
    void load(Form1 &form, const QString &path)
    {
        desktop.pictureAnswers.push_back(path);
        click(form, u"Command3"_s);
    }
    QString text(const Form1 &form, const QString &name) const { return control<QLineEdit>(form, name)->text(); }

    QTemporaryDir folder;
    QTemporaryDir startFolder;
    CurrentFolder current{startFolder.path()};
    FakeDesktop desktop;
};

} // namespace

TEST_F(BadPictures, PicturesThatCannotBeShownWarnAndLeaveChartAndFilesAsTheyWere)
{
    Form1 form(desktop);
    calibrateLinearChart(form, desktop, folder.path(), u"grafik.bmp"_s);
    ASSERT_TRUE(desktop.warnings.isEmpty());
    const QByteArray jpeg = smallJpeg();
    ASSERT_GT(jpeg.size(), 300);
    const QByteArray progressive = progressiveJpeg();
    const QByteArray bmp = bmpBytes();
    ASSERT_FALSE(progressive.isEmpty());

    struct Row {
        const char16_t *name;
        QByteArray bytes;
        enum { File, Folder, Missing } kind = File;
    };
    const Row rows[] = {
        {u"boş.jpg", {}},
        {u"başı.jpg", jpeg.first(100)}, // cut inside the header, before the size is known
        {u"metin.jpg", "Bu bir resim değil.\r\n"},
        {u"dev.bmp", hugeBmp()},
        // Data that end before the picture does: a download broken off, a forged size.
        {u"kesik.jpg", jpeg.first(jpeg.size() * 2 / 3)},
        {u"sonu eksik.jpg", jpeg.first(jpeg.size() - 2)},
        {u"ilerlemeli kesik.jpg", progressive.first(progressive.size() - 60)},
        {u"dev.jpg", hugeJpeg()},
        {u"kesik.bmp", bmp.first(bmp.size() - 100)},
        {u"x.jpg", {}, Row::Folder},
        {u"silinmiş.jpg", {}, Row::Missing}, // chosen in the dialog, gone before the load
    };
    for (const Row &row : rows) {
        const QString name = QString::fromUtf16(row.name);
        SCOPED_TRACE(name.toStdString());
        if (row.kind == Row::File) {
            ASSERT_TRUE(writeBytes(inFolder(name), row.bytes));
        } else if (row.kind == Row::Folder) {
            ASSERT_TRUE(QDir(folder.path()).mkdir(name));
        }
        const FolderSnapshot before = snapshotOf(folder.path());
        desktop.warnings.clear();
        load(form, inFolder(name));

        EXPECT_EQ(desktop.warnings, QStringList{kUnreadable.arg(name)}) << desktop.warnings.join(u'|').toStdString();
        EXPECT_EQ(text(form, u"Text9"_s), u"grafik.bmp"_s);
        EXPECT_EQ(text(form, u"Text3"_s), u"100"_s);
        EXPECT_EQ(control<ChartPicture>(form, u"Picture1"_s)->naturalPicture().size(), QSize(600, 400));
        EXPECT_EQ(changedPaths(before, snapshotOf(folder.path())), std::vector<std::string>{});
    }

    // The calibration survived: a curve records as before.
    click(form, u"Command8"_s);
    pressOnChart(form, {300, 200});
    EXPECT_EQ(fileBytes(inFolder(u"grafik_1.txt"_s)), expectedX(300) + "  " + expectedY(200) + "\r\n");
    EXPECT_EQ(desktop.warnings.size(), 1);
}

TEST_F(BadPictures, PicturesWhoseContentDecidesTheirFormatStillLoad)
{
    Form1 form(desktop);
    const QByteArray jpeg = smallJpeg();
    struct Row {
        const char16_t *name;
        QByteArray bytes;
        QSize natural;
    };
    const Row rows[] = {
        {u"png.jpg", pngBytes(), {120, 80}},
    };
    for (const Row &row : rows) {
        const QString name = QString::fromUtf16(row.name);
        SCOPED_TRACE(name.toStdString());
        ASSERT_FALSE(row.bytes.isEmpty());
        ASSERT_TRUE(writeBytes(inFolder(name), row.bytes));
        const FolderSnapshot before = snapshotOf(folder.path());
        desktop.warnings.clear();
        load(form, inFolder(name));
        EXPECT_TRUE(desktop.warnings.isEmpty()) << desktop.warnings.join(u'|').toStdString();
        EXPECT_EQ(text(form, u"Text9"_s), name);
        const auto *chart = control<ChartPicture>(form, u"Picture1"_s);
        EXPECT_EQ(chart->naturalPicture().size(), row.natural);
        EXPECT_EQ(changedPaths(before, snapshotOf(folder.path())), std::vector<std::string>{});
    }
    EXPECT_EQ(QImage(inFolder(u"png.jpg"_s)).pixelColor(5, 5), QColor(10, 200, 30)); // content, not the name
}

TEST_F(BadPictures, UnusualFileNamesLoadAndNameTheirCurveFiles)
{
    Form1 form(desktop);
    const QString longName = QString(196, u'u') + u".jpg"_s;
    ASSERT_EQ(longName.size(), 200);
    const QString names[] = {u"çğıöşüÇĞİÖŞÜ.jpg"_s, u"iki  boşluk ve sonda .jpg"_s,
                             u"it's.jpg"_s,         u"\"tırnak\".jpg"_s,
                             u"-eksi.jpg"_s,        longName};
    for (const QString &name : names) {
        SCOPED_TRACE(name.toStdString());
        desktop.warnings.clear();
        const FolderSnapshot before = snapshotOf(folder.path());
        calibrateLinearChart(form, desktop, folder.path(), name);
        EXPECT_TRUE(desktop.warnings.isEmpty()) << desktop.warnings.join(u'|').toStdString();
        EXPECT_EQ(text(form, u"Text9"_s), name);
        click(form, u"Command8"_s);
        const QString curveFile = name.chopped(4) + u"_1.txt"_s;
        EXPECT_EQ(text(form, u"Text8"_s), curveFile);
        pressOnChart(form, {100, 320});
        EXPECT_EQ(fileBytes(inFolder(curveFile)), expectedX(100) + "  " + expectedY(320) + "\r\n");
        std::vector<std::string> added{curveFile.toStdString(), name.toStdString()};
        std::sort(added.begin(), added.end());
        EXPECT_EQ(changedPaths(before, snapshotOf(folder.path())), added);
    }
}

TEST_F(BadPictures, PastedPictureOnAFullDiskWarnsAndLeavesTheChartAndTheDisk)
{
    SmallDisk disk;
    if (disk.path().isEmpty())
        GTEST_SKIP() << "neither mount nor unshare -rm could mount a small tmpfs here";
    Form1 form(desktop);
    calibrateLinearChart(form, desktop, folder.path(), u"grafik.bmp"_s);
    CurrentFolder onDisk(disk.path());
    ASSERT_GT(fillUp(QDir(disk.path()).filePath(u"dolgu"_s)), 0);
    const FolderSnapshot before = snapshotOf(disk.path());
    QImage screenshot(400, 300, QImage::Format_RGB32);
    screenshot.fill(QColor(20, 90, 200));
    desktop.clipboardData.setImageData(screenshot);
    desktop.warnings.clear();

    QTest::keyClick(&form, Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(desktop.warnings.size(), 1);
    EXPECT_TRUE(desktop.warnings.front().startsWith(u"\""_s + QDir::toNativeSeparators(disk.path()) + u"/pano-"_s))
        << desktop.warnings.front().toStdString();
    EXPECT_TRUE(desktop.warnings.front().endsWith(u".png\" dosyası yazılamadı."_s));
    EXPECT_EQ(desktop.busyAtWarnings, QList<bool>{false});
    EXPECT_EQ(changedPaths(before, snapshotOf(disk.path())), std::vector<std::string>{}); // no half a PNG
    EXPECT_EQ(text(form, u"Text9"_s), u"grafik.bmp"_s);
    EXPECT_EQ(text(form, u"Text3"_s), u"100"_s);
}
