// Any 256-byte image with any product selected: identification, then fill and collect of the editor.
// No crash, every fault address inside the image, and fill then collect then fill is stable.

#include "EditorFuzzSupport.h"
#include "config/Identification.h"
#include "config/Products.h"

#include <cstdlib>

using namespace zal;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    if (size < kImageSize + 1)
        return 0;
    TfrmEnterData& editor = fuzz::Editor();
    const std::span<const ProductInfo> products = Products();
    const ProductInfo& product = products[data[0] % products.size()];
    ConfigImage image{};
    std::copy_n(data + 1, kImageSize, image.begin());
    IdentifyImage(image[kVersionCodeAddress], image[kProductCodeAddress]);
    const int version =
        product.family == ProductFamily::Plus ? kVersionPlus : ClassicVersions()[data[0] / 8 % 4].code;
    editor.SelectProductVersion(version, 0, product.code);
    editor.setWorking(image);
    const int fault = editor.FillFields();
    if (fault < -1 || fault > 0xFF)
        std::abort();
    if (editor.CollectFields())
        return 0; // a text that does not parse stops the collect, as it should
    const ConfigImage once = editor.working();
    editor.FillFields();
    if (editor.CollectFields() || editor.working() != once)
        std::abort();
    return 0;
}
