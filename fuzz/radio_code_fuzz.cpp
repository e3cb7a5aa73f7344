// Radio ID code text both ways: any code shows as four upper-case digits (0 as the empty text) and reads
// back as itself; any text reads as some code without a crash.

#include "radio/RadioCode.h"

#include <cstdlib>

using namespace zal;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    if (size >= 2) {
        const std::uint16_t code = static_cast<std::uint16_t>(data[0] << 8 | data[1]);
        const QString text = CodeToText(code);
        if (TextToCode(text) != code || (code != 0 && text.size() != 4))
            std::abort();
    }
    TextToCode(QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    return 0;
}
