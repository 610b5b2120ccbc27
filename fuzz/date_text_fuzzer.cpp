// The period edits' date reader on any text: whatever it accepts is a real calendar date in the
// two-digit year window, whose own "dd/mm/yy" text reads back to the same date.
#include "fuzz_check.h"
#include "platform/cp1252.h"
#include "platform/date_text.h"

#include <cstddef>
#include <cstdint>

using namespace livros;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    // The first two bytes choose the current year (100 .. 9899), the rest is the typed text.
    const int currentYear = 100 + (data[0] | (data[1] << 8)) % 9800;
    const QString text = fromCp1252(reinterpret_cast<const char*>(data + 2), qsizetype(size - 2));

    const std::optional<QDate> date = parseDateText(text, currentYear);
    if (!date)
        return 0;
    FUZZ_CHECK(date->isValid());
    FUZZ_CHECK(date->year() >= currentYear - 50 && date->year() <= currentYear + 49);
    FUZZ_CHECK(text.count(QLatin1Char('/')) == 2);

    const QString written = dateText(*date);
    FUZZ_CHECK(written.size() == 8);
    FUZZ_CHECK(parseDateText(written, currentYear) == date);

    // Blanks only ever stand between the parts of an accepted text: without them it reads the same.
    QString packed = text;
    packed.remove(QLatin1Char(' '));
    FUZZ_CHECK(parseDateText(packed, currentYear) == date);
    return 0;
}
