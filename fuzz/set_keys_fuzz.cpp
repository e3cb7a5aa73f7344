// Arbitrary key sequences typed into arbitrary fields, as zalctl set types them: key filters, range
// checks and exit checks must hold, and what is collected must fill back the same.

#include "EditorFuzzSupport.h"
#include "config/Products.h"

#include <cstdlib>

using namespace zal;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    if (size < 3)
        return 0;
    TfrmEnterData& editor = fuzz::Editor();
    const std::span<const ProductInfo> products = Products();
    editor.SelectProduct(products[data[0] % products.size()].code);
    FormModel& form = editor.form();
    size_t i = 1;
    while (i + 1 < size) {
        Field& field = form.fields()[data[i] % form.fields().size()];
        const int keys = data[i + 1] % 8;
        i += 2;
        if (field.kind() == FieldKind::Edit) {
            form.replaceText(field, QString());
            for (int k = 0; k < keys && i < size; ++k, ++i)
                form.typeKey(field, QChar(data[i] < 0x80 ? data[i] : 0x20 + data[i] % 0x5F));
            form.leave(field);
        } else if (field.kind() == FieldKind::Combo && !field.list.items.isEmpty() && i < size) {
            form.selectIndex(field, data[i++] % field.list.items.size());
        } else if (field.kind() == FieldKind::Check) {
            form.click(field);
        }
    }
    if (editor.CollectFields())
        return 0; // a text that does not parse stops the collect, as it should
    // Once shown, an image must come back as it was. (What was typed need not: 255 typed into a field
    // where 0xFF shows as 0 is stored as 0xFF and shown as 0 next time.)
    editor.FillFields();
    if (editor.CollectFields())
        std::abort();
    const ConfigImage once = editor.working();
    editor.FillFields();
    if (editor.CollectFields() || editor.working() != once)
        std::abort();
    return 0;
}
