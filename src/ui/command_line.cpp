#include "ui/command_line.h"

#include <QCommandLineParser>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

// The parser's own help is in English; the program speaks Turkish.
QString helpText()
{
    return u"Kullanım: zorvane [seçenekler] [resim]\n"
           u"ZORVANE (Tessarix): grafik resimlerinden eğri değerlerini okur.\n"
           u"\n"
           u"Seçenekler:\n"
           u"  -h, --help     Bu yardımı gösterir.\n"
           u"  -v, --version  Sürüm bilgisini gösterir.\n"
           u"\n"
           u"Bağımsız değişkenler:\n"
           u"  resim          Açılışta yüklenecek grafik resmi (JPEG, BMP, PNG, ...).\n"_s;
}

CommandLine failure(const QString &what)
{
    return {{}, u"zorvane: "_s + what + u"\nYardım için: zorvane --help\n"_s, 2};
}

} // namespace

CommandLine parseCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption help(QStringList{u"h"_s, u"help"_s});
    const QCommandLineOption version(QStringList{u"v"_s, u"version"_s});
    parser.addOption(help);
    parser.addOption(version);
    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        return failure(unknown.isEmpty() ? parser.errorText() : u"bilinmeyen seçenek \"%1\"."_s.arg(unknown.front()));
    }
    if (parser.isSet(help))
        return {{}, helpText(), 0};
    if (parser.isSet(version))
        return {{}, u"zorvane " ZORVANE_VERSION "\n"_s, 0};
    const QStringList pictures = parser.positionalArguments();
    if (pictures.size() > 1)
        return failure(u"yalnız bir resim açılabilir."_s);
    return {pictures.isEmpty() ? QString() : QFileInfo(pictures.front()).absoluteFilePath(), {}, 0};
}
