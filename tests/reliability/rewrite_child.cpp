// Removes the last point of one curve file, for the crash test. It says "go" just before the rewrite starts,
// so the parent can time its kill from there rather than from the program's start-up.
#include "digitize/curve_file.h"

#include <QFile>

#include <unistd.h>

int main(int argc, char **argv)
{
    if (argc != 2)
        return 2;
    const QString fileName = QFile::decodeName(argv[1]);
    if (write(STDOUT_FILENO, "go\n", 3) != 3)
        return 2;
    return rewriteWithoutLast(fileName) == RewriteResult::Rewritten ? 0 : 1;
}
