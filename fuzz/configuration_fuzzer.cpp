// The configuration reader on any file contents: QUILMARA.INI and the connection path file are
// written by other programs (and by hand), so they may hold anything.
#include "data/startup.h"
#include "fuzz_check.h"
#include "platform/cp1252.h"

#include <cstddef>
#include <cstdint>

using namespace livros;
using namespace livros::data;

namespace {

bool holdsLineEnd(const QString& text)
{
    return text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'));
}

void checkLines(const QByteArray& contents)
{
    qsizetype total = 0;
    for (const QByteArray& line : textFileLines(contents)) {
        FUZZ_CHECK(!line.contains('\r') && !line.contains('\n'));
        total += line.size();
    }
    FUZZ_CHECK(total <= contents.size());
}

void checkServerAddress(const QByteArray& contents)
{
    const QString address = serverAddressFromIni(contents);
    FUZZ_CHECK(address.size() <= 60);
    FUZZ_CHECK(!address.startsWith(QLatin1Char(' ')) && !address.endsWith(QLatin1Char(' ')));
    FUZZ_CHECK(!holdsLineEnd(address));
    if (!address.isEmpty()) {
        // Only a line that starts with the exact key gives a value, and the value lies in that file.
        FUZZ_CHECK(contents.contains(kServerKey));
        FUZZ_CHECK(contents.contains(toCp1252(address)));
    }
    FUZZ_CHECK(trimSpaces(address) == address);
}

void checkPathFile(const QByteArray& contents)
{
    const QString folder = firstLineOfPathFile(contents);
    FUZZ_CHECK(folder.size() <= 100);
    FUZZ_CHECK(!holdsLineEnd(folder));
    // The first line, read as it is: a prefix of the file (after a byte-order mark).
    QByteArray body = contents;
    if (body.startsWith("\xEF\xBB\xBF"))
        body.remove(0, 3);
    FUZZ_CHECK(body.startsWith(toCp1252(folder)));

    const QString lib = vendorLibForFolder(folder);
    if (folder.isEmpty()) {
        FUZZ_CHECK(lib.isEmpty());
        return;
    }
    FUZZ_CHECK(lib.startsWith(folder));
    FUZZ_CHECK(lib.endsWith(QLatin1String("GDS32.DLL")));
    const bool separatorAdded = lib.size() == folder.size() + 10;
    FUZZ_CHECK(separatorAdded || lib.size() == folder.size() + 9);
    FUZZ_CHECK(separatorAdded == (!folder.endsWith(QLatin1Char('\\')) && folder.size() < 100));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray contents(reinterpret_cast<const char*>(data), qsizetype(size));
    checkLines(contents);
    checkServerAddress(contents);
    checkPathFile(contents);
    return 0;
}
