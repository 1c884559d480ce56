#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Read by LeakSanitizer in the sanitizer build, unused otherwise. Qt 6.4's PDF module never frees what it set up
// for a load that failed (a damaged file, a password): the PDF library's loader state, a few KiB a file, which
// the tests of unreadable PDFs cause on purpose.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:QPdfDocumentPrivate::initiateAsyncLoadWithTotalSizeKnown\n"
           "leak:QPdfDocumentPrivate::tryLoadDocument\n";
}

int main(int argc, char **argv)
{
    // Widget tests never need a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt warns when there is no runtime folder (CI runs as root without a session): give it a private one.
    QTemporaryDir runtimeFolder;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && runtimeFolder.isValid()) {
        QFile::setPermissions(runtimeFolder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeFolder.path()));
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
