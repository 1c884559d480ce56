#include "workspace/picture_names.h"

#include <gtest/gtest.h>

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
