#include "workspace/picture_loader.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

QStringList g_qtMessages;

void collectQtMessage(QtMsgType, const QMessageLogContext &, const QString &message)
{
    g_qtMessages << message;
}

// Four flat quarters, so that JPEG keeps the colours away from the seams; the last one may be see-through.
QImage quarters(bool seeThrough)
{
    QImage image(50, 40, seeThrough ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 50; ++x)
            image.setPixel(x, y,
                           x < 25 ? (y < 20 ? qRgb(200, 30, 30) : qRgb(30, 160, 40))
                                  : (y < 20 ? qRgb(40, 50, 210) : qRgba(230, 220, 40, seeThrough ? 0 : 255)));
    return image;
}

// One-pixel black lines on white, spaced so that together they fall on every phase of a reduction:
// horizontal ones on the left half, vertical ones on the right half.
constexpr int horizontalLine(int k)
{
    return 37 + 73 * k;
}
constexpr int verticalLine(int k)
{
    return 820 + 47 * k;
}
constexpr int kLines = 16;

QImage thinLines()
{
    QImage image(1600, 1200, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int k = 0; k < kLines; ++k) {
        for (int x = 0; x < 780; ++x)
            image.setPixel(x, horizontalLine(k), qRgb(0, 0, 0));
        for (int y = 0; y < 1200; ++y)
            image.setPixel(verticalLine(k), y, qRgb(0, 0, 0));
    }
    return image;
}

// A bitmap header alone, claiming a size it has no pixels for.
QByteArray bmpHeader(qint32 width, qint32 height)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("BM", 2);
    out << quint32(54) << quint32(0) << quint32(54); // file size, reserved, offset of the pixels
    out << quint32(40) << width << height << quint16(1) << quint16(24) << quint32(0) << quint32(0) << qint32(2835)
        << qint32(2835) << quint32(0) << quint32(0);
    return bytes;
}

int darkestGray(const QImage &image, QRect area)
{
    int darkest = 255;
    area &= image.rect();
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            darkest = std::min(darkest, qGray(image.pixel(x, y)));
    return darkest;
}

} // namespace

class PictureLoader : public ::testing::Test {
protected:
    static void SetUpTestSuite() { raisePictureAllocationLimit(); }
    void SetUp() override
    {
        g_qtMessages.clear();
        m_previousHandler = qInstallMessageHandler(collectQtMessage);
    }
    void TearDown() override
    {
        qInstallMessageHandler(m_previousHandler);
        EXPECT_TRUE(g_qtMessages.isEmpty()) << "Qt said: " << g_qtMessages.join(u" | "_s).toStdString();
    }

    QString path(const QString &name) const { return m_dir.filePath(name); }

    // Loads with a displaySize that records what it was asked and answers `display` (natural when invalid).
    LoadedPicture load(const QString &name, QSize display = {})
    {
        m_asked.clear();
        return loadPicture(path(name), [&](QSize natural) {
            m_asked.push_back(natural);
            return display.isValid() ? display : natural;
        });
    }

    QTemporaryDir m_dir;
    std::vector<QSize> m_asked;
    QtMessageHandler m_previousHandler = nullptr;
};

TEST_F(PictureLoader, NaturalLoadKeepsTheSizeAndThePixels)
{
    struct Row {
        QString name;
        const char *format;
        bool seeThrough;
        int tolerance;      // JPEG is lossy
        QSize display = {}; // what displaySize answers
    };
    const Row rows[] = {
        {u"egri.png"_s, "PNG", false, 0},
        {u"egri.bmp"_s, "BMP", false, 0},
        {u"egri.jpg"_s, "JPG", false, 12},
        {u"eğri ölçüm.jpg"_s, "JPG", false, 12},
        {u"png içi.jpg"_s, "PNG", false, 0}, // the content decides, not the name
        {u"saydam.png"_s, "PNG", true, 0},
        {u"bos boyut.bmp"_s, "BMP", false, 0, QSize(0, 0)}, // no display size at all: the natural one
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name.toStdString());
        const QImage stored = quarters(row.seeThrough);
        ASSERT_TRUE(stored.save(path(row.name), row.format, 95));

        const LoadedPicture picture = load(row.name, row.display);
        ASSERT_TRUE(picture.ok()) << picture.error.toStdString();
        EXPECT_EQ(m_asked, std::vector<QSize>{QSize(50, 40)});
        EXPECT_EQ(picture.naturalSize, QSize(50, 40));
        ASSERT_EQ(picture.image.size(), QSize(50, 40));
        EXPECT_EQ(picture.image.format(), row.seeThrough ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
        for (QPoint p :
             {QPoint(12, 10), QPoint(37, 10), QPoint(12, 30), QPoint(37, 30), QPoint(0, 0), QPoint(49, 39)}) {
            const QRgb want = stored.pixel(p);
            const QRgb got = picture.image.pixel(p);
            EXPECT_EQ(qAlpha(got), qAlpha(want)) << p.x() << "," << p.y();
            if (qAlpha(want) == 0)
                continue; // no colour to keep
            EXPECT_NEAR(qRed(got), qRed(want), row.tolerance) << p.x() << "," << p.y();
            EXPECT_NEAR(qGreen(got), qGreen(want), row.tolerance) << p.x() << "," << p.y();
            EXPECT_NEAR(qBlue(got), qBlue(want), row.tolerance) << p.x() << "," << p.y();
        }
    }
}

TEST_F(PictureLoader, ReducedLoadHasTheDisplaySizeAndKeepsThinLines)
{
    const QImage stored = thinLines();
    // 700 x 525 is read at 2/8 of the picture; 560 x 420 at half of it and 1116 x 837 whole, then scaled.
    for (const QSize shown : {QSize(700, 525), QSize(560, 420), QSize(1116, 837)}) {
        for (const auto &[name, format] :
             {std::pair{u"cizgi.jpg"_s, "JPG"}, {u"cizgi.bmp"_s, "BMP"}, {u"cizgi.png"_s, "PNG"}}) {
            SCOPED_TRACE(name.toStdString() + " at " + std::to_string(shown.width()));
            ASSERT_TRUE(stored.save(path(name), format, 95));

            m_asked.clear();
            const LoadedPicture picture = load(name, shown);
            ASSERT_TRUE(picture.ok()) << picture.error.toStdString();
            EXPECT_EQ(m_asked, std::vector<QSize>{QSize(1600, 1200)});
            EXPECT_EQ(picture.naturalSize, QSize(1600, 1200));
            ASSERT_EQ(picture.image.size(), shown);
            EXPECT_EQ(picture.image.format(), QImage::Format_RGB32);
            const int w = shown.width();
            const int h = shown.height();
            for (int k = 0; k < kLines; ++k) {
                const int y = horizontalLine(k) * h / 1200;
                const int x = verticalLine(k) * w / 1600;
                EXPECT_LT(darkestGray(picture.image, QRect(0, y - 1, w * 330 / 700, 3)), 224)
                    << "row " << horizontalLine(k);
                EXPECT_LT(darkestGray(picture.image, QRect(x - 1, 0, 3, h)), 224) << "column " << verticalLine(k);
            }
            // White stays white above the first line.
            EXPECT_GT(darkestGray(picture.image, QRect(0, 0, w * 330 / 700, horizontalLine(0) * h / 1200 - 4)), 240);
        }
    }
}

TEST(JpegReadSize, ReductionsWithoutVectorCodeAreReadAsHalfOrWhole)
{
    EXPECT_EQ(jpegReadSize({4000, 3000}, {1330, 997}), QSize(2000, 1500)); // 3/8 by the reader's own choice
    EXPECT_EQ(jpegReadSize({1600, 1200}, {560, 420}), QSize(800, 600));
    EXPECT_EQ(jpegReadSize({4000, 3000}, {700, 525}), QSize(700, 525));     // 2/8 runs fast already
    EXPECT_EQ(jpegReadSize({8000, 6000}, {1330, 997}), QSize(1330, 997));   // 2/8
    EXPECT_EQ(jpegReadSize({4000, 3000}, {2200, 1650}), QSize(2200, 1650)); // 5/8 of 12 MP: half would be too small
    EXPECT_EQ(jpegReadSize({1600, 1200}, {1116, 837}), QSize(1600, 1200));  // 6/8: the whole picture
    EXPECT_EQ(jpegReadSize({4000, 3000}, {3076, 2307}), QSize(4000, 3000)); // 7/8
    EXPECT_EQ(jpegReadSize({1600, 1200}, {1000, 750}), QSize(1600, 1200));  // 5/8 of 2 MP
    EXPECT_EQ(jpegReadSize({1600, 1200}, {1600, 1200}), QSize(1600, 1200)); // 8/8: no reduction at all
    EXPECT_EQ(jpegReadSize({4001, 3000}, {1330, 997}), QSize(1330, 997));   // no exact half
    EXPECT_EQ(jpegReadSize({4000, 3000}, {}), QSize());
}

TEST_F(PictureLoader, UnreadableFilesAreRefusedByName)
{
    ASSERT_TRUE(QFile(path(u"bos.jpg"_s)).open(QIODevice::WriteOnly));
    QFile text(path(u"metin ölçüm.jpg"_s));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("x1 = 0.5\ny1 = 2.5\n");
    text.close();
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(u"x.jpg"_s));
    QFile bmp(path(u"dev.bmp"_s));
    ASSERT_TRUE(bmp.open(QIODevice::WriteOnly));
    bmp.write(bmpHeader(60000, 60000));
    bmp.close();

    for (const QString &name : {u"bos.jpg"_s, u"metin ölçüm.jpg"_s, u"x.jpg"_s, u"yok.jpg"_s, u"dev.bmp"_s}) {
        SCOPED_TRACE(name.toStdString());
        const LoadedPicture picture = load(name);
        EXPECT_FALSE(picture.ok());
        EXPECT_TRUE(picture.image.isNull());
        EXPECT_EQ(picture.error, u"\"%1\" dosyası resim olarak okunamadı."_s.arg(name));
        EXPECT_TRUE(m_asked.empty()); // what is no picture is never offered for display
    }
}

TEST_F(PictureLoader, AllocationLimitCountsWhatIsDecoded)
{
    const QImage stored = thinLines(); // 7.3 MiB at 4 bytes a pixel
    ASSERT_TRUE(stored.save(path(u"b.jpg"_s), "JPG"));
    ASSERT_TRUE(stored.save(path(u"b.bmp"_s), "BMP"));
    QImageReader::setAllocationLimit(2);
    // JPEG reads straight at 400 x 300 (0.5 MiB); the bitmap would be decoded whole.
    const bool reducedJpeg = load(u"b.jpg"_s, QSize(400, 300)).ok();
    const bool naturalJpeg = load(u"b.jpg"_s).ok();
    const bool reducedBmp = load(u"b.bmp"_s, QSize(400, 300)).ok();
    raisePictureAllocationLimit();
    EXPECT_TRUE(reducedJpeg);
    EXPECT_FALSE(naturalJpeg);
    EXPECT_FALSE(reducedBmp);

    // At the raised limit, headers claiming 20000 x 20000 (1.5 GiB) and 17000 x 17000 (1.08 GiB at the four bytes
    // a pixel it is decoded to, 0.81 GiB at three) are refused before Qt tries them, which Qt would complain of.
    for (const QByteArray &header : {"P6\n20000 20000\n255\n"_ba, "P6\n17000 17000\n255\n"_ba}) {
        QFile ppm(path(u"buyuk.ppm"_s));
        ASSERT_TRUE(ppm.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ppm.write(header);
        ppm.close();
        EXPECT_FALSE(load(u"buyuk.ppm"_s).ok()) << header.constData();
    }
}

TEST_F(PictureLoader, ReducedJpegReadWholeFirstCountsItsCoefficients)
{
    // A progressive JPEG, or one whose first scan leaves components out, is read whole as coefficients (two
    // bytes a sample, some 5 MiB here) before the reduced picture comes out; the allocation limit counts them.
    const QImage stored = thinLines();
    QImageWriter progressive(path(u"ilerlemeli.jpg"_s), "JPG");
    progressive.setProgressiveScanWrite(true);
    ASSERT_TRUE(progressive.write(stored));
    ASSERT_TRUE(stored.save(path(u"sirali.jpg"_s), "JPG"));

    // The same frame with a first scan of its first component alone.
    QFile sequential(path(u"sirali.jpg"_s));
    ASSERT_TRUE(sequential.open(QIODevice::ReadOnly));
    QByteArray bytes = sequential.readAll();
    const qsizetype scan = bytes.indexOf("\xff\xda");
    ASSERT_GT(scan, 0);
    ASSERT_EQ(bytes.at(scan + 4), 3); // components in the scan
    bytes.replace(scan, 4 + 1 + 2 * 3 + 3, "\xff\xda\x00\x08\x01"_ba + bytes.mid(scan + 5, 2) + "\x00\x3f\x00"_ba);
    QFile partial(path(u"ayri.jpg"_s));
    ASSERT_TRUE(partial.open(QIODevice::WriteOnly));
    partial.write(bytes);
    partial.close();

    QImageReader::setAllocationLimit(2);
    const bool reducedProgressive = load(u"ilerlemeli.jpg"_s, QSize(400, 300)).ok();
    const bool reducedPartial = load(u"ayri.jpg"_s, QSize(400, 300)).ok();
    const bool reducedSequential = load(u"sirali.jpg"_s, QSize(400, 300)).ok();
    raisePictureAllocationLimit();
    EXPECT_FALSE(reducedProgressive);
    EXPECT_FALSE(reducedPartial);
    EXPECT_TRUE(reducedSequential);

    const LoadedPicture picture = load(u"ilerlemeli.jpg"_s, QSize(400, 300));
    ASSERT_TRUE(picture.ok()) << picture.error.toStdString();
    EXPECT_EQ(picture.image.size(), QSize(400, 300));
}

TEST_F(PictureLoader, FilesCutShortAreRefusedOnEveryDecodePath)
{
    const QImage stored = thinLines();
    ASSERT_TRUE(stored.save(path(u"sirali.jpg"_s), "JPG"));
    QImageWriter progressive(path(u"ilerlemeli.jpg"_s), "JPG");
    progressive.setProgressiveScanWrite(true);
    ASSERT_TRUE(progressive.write(stored));
    ASSERT_TRUE(stored.save(path(u"cizgi.bmp"_s), "BMP"));

    for (const QString &name : {u"sirali.jpg"_s, u"ilerlemeli.jpg"_s, u"cizgi.bmp"_s}) {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray whole = file.readAll();
        const bool bmp = name.endsWith(u".bmp"_s);
        const qsizetype data = bmp ? 54 : whole.indexOf("\xff\xda");
        ASSERT_GT(data, 0);
        const std::pair<const char *, qsizetype> cuts[] = {
            {"in the header", data / 2}, {"in the first rows", data + 4000}, {"near the end", whole.size() - 2}};
        for (const auto &[where, size] : cuts) {
            const QString cutName = u"kesik "_s + name;
            QFile cut(path(cutName));
            ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
            cut.write(whole.first(size));
            cut.close();
            // Natural display; reduced, which JPEG decodes on both cores where it can.
            for (const QSize display : {QSize(), QSize(700, 525)}) {
                SCOPED_TRACE(name.toStdString() + " cut " + where + " shown " + std::to_string(display.width()));
                const LoadedPicture picture = load(cutName, display);
                EXPECT_FALSE(picture.ok());
                EXPECT_TRUE(picture.image.isNull());
                EXPECT_EQ(picture.error, u"\"%1\" dosyası resim olarak okunamadı."_s.arg(cutName));
            }
        }
    }
    g_qtMessages.clear(); // Qt's reader may say what it found in the headers it could not read
}

TEST_F(PictureLoader, JpegWithStrayBytesBeforeAMarkerLoadsAsTheCleanFile)
{
    const QImage stored = thinLines();
    ASSERT_TRUE(stored.save(path(u"temiz.jpg"_s), "JPG"));
    QFile clean(path(u"temiz.jpg"_s));
    ASSERT_TRUE(clean.open(QIODevice::ReadOnly));
    QByteArray bytes = clean.readAll();
    bytes.insert(bytes.indexOf("\xff\xda"), "\x12\x34\x56");
    QFile stray(path(u"fazla bayt.jpg"_s));
    ASSERT_TRUE(stray.open(QIODevice::WriteOnly));
    stray.write(bytes);
    stray.close();

    for (const QSize display : {QSize(), QSize(700, 525)}) {
        SCOPED_TRACE(display.width());
        const LoadedPicture picture = load(u"fazla bayt.jpg"_s, display);
        ASSERT_TRUE(picture.ok()) << picture.error.toStdString();
        EXPECT_EQ(picture.image, load(u"temiz.jpg"_s, display).image);
    }
    g_qtMessages.clear(); // Qt's reader, which decodes such files, reports the stray bytes
}

TEST_F(PictureLoader, TopRowFirstBitmapLoadsTheRightWayUp)
{
    const QImage stored = thinLines().copy(0, 30, 33, 20); // one line, off the middle; rows padded
    ASSERT_TRUE(stored.save(path(u"alttan.bmp"_s), "BMP"));
    QFile bottomUp(path(u"alttan.bmp"_s));
    ASSERT_TRUE(bottomUp.open(QIODevice::ReadOnly));
    const QByteArray bytes = bottomUp.readAll();
    // The same rows in the other order under a negative height.
    const qint32 offset = qFromLittleEndian<qint32>(bytes.constData() + 10);
    const qsizetype rowBytes = (bytes.size() - offset) / 20;
    QByteArray flipped = bytes.first(offset);
    qToLittleEndian(qint32(-20), flipped.data() + 22);
    for (int row = 19; row >= 0; --row)
        flipped += bytes.mid(offset + row * rowBytes, rowBytes);
    QFile topDown(path(u"ustten.bmp"_s));
    ASSERT_TRUE(topDown.open(QIODevice::WriteOnly));
    topDown.write(flipped);
    topDown.close();

    const LoadedPicture picture = load(u"ustten.bmp"_s);
    ASSERT_TRUE(picture.ok()) << picture.error.toStdString();
    EXPECT_EQ(picture.naturalSize, QSize(33, 20));
    EXPECT_EQ(picture.image, load(u"alttan.bmp"_s).image);
}
