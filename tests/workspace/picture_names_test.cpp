#include "workspace/picture_names.h"

#include <QDateTime>

#include <gtest/gtest.h>

#include <tuple>

using namespace Qt::StringLiterals;

TEST(PictureNames, FileNameIsThePartAfterTheLastSeparatorOfEitherKind)
{
    const std::pair<QString, QString> rows[] = {
        {u"D:\\Olcumler\\Deney\\egri.jpg"_s, u"egri.jpg"_s},
        {u"/home/a b/eğri ölçüm.jpg"_s, u"eğri ölçüm.jpg"_s},
        {u"C:/x\\y/z.bmp"_s, u"z.bmp"_s},
        {u"C:\\x/y\\z.bmp"_s, u"z.bmp"_s},
        {u"egri.jpg"_s, u"egri.jpg"_s},
        {u"/home/a/"_s, u""_s},
        {u"D:\\Olcumler\\"_s, u""_s},
        {u""_s, u""_s},
    };
    for (const auto &[path, name] : rows) {
        SCOPED_TRACE(path.toStdString());
        EXPECT_EQ(pictureFileName(path), name);
    }
}

TEST(PictureNames, CurveStemDropsFourCharactersOrElseTheExtension)
{
    const std::pair<QString, QString> rows[] = {
        {u"egri.jpg"_s, u"egri"_s},
        {u"egri.jpeg"_s, u"egri."_s},
        {u"graf.bmp"_s, u"graf"_s},
        {u"eğri ölçüm.jpg"_s, u"eğri ölçüm"_s},
        {u"x.png"_s, u"x"_s},
        {u"abcde"_s, u"a"_s},
        // Four characters or fewer.
        {u".jpg"_s, u".jpg"_s},
        {u"a.jp"_s, u"a"_s},
        {u"a.b"_s, u"a"_s},
        {u"ab."_s, u"ab"_s},
        {u"abcd"_s, u"abcd"_s},
        {u"abc"_s, u"abc"_s},
        {u"."_s, u"."_s},
        {u""_s, u""_s},
    };
    for (const auto &[name, stem] : rows) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_EQ(curveFileStem(name), stem);
    }
}

TEST(PictureNames, PastedPictureIsNamedByTheSecondItWasPasted)
{
    const QDateTime at(QDate(2024, 1, 31), QTime(9, 5, 2));
    const std::tuple<QDateTime, int, QString> rows[] = {
        {at, 1, u"pano-20240131-090502.png"_s},
        {at, 2, u"pano-20240131-090502-2.png"_s},
        {at, 12, u"pano-20240131-090502-12.png"_s},
        {QDateTime(QDate(2025, 12, 9), QTime(23, 59, 59)), 1, u"pano-20251209-235959.png"_s},
    };
    for (const auto &[when, copy, name] : rows) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_EQ(pastedPictureName(when, copy), name);
    }
}
