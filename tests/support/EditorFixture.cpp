#include "EditorFixture.h"

#include "config/ImageFile.h"
#include "config/Products.h"

#include <gtest/gtest.h>

namespace zal::test {

EditorFixture::EditorFixture(QStringList arguments, QLocale locale, KbxTransportFactory kbx,
                             KbxClock* clock) {
    TfrmEnterData::Options options;
    options.arguments = std::move(arguments);
    options.installFolder = QStringLiteral(ZAL_BIN_DIR "/");
    options.platform.applicationData = home.file(QStringLiteral("data"));
    options.platform.documents = home.file(QStringLiteral("documents"));
    QDir().mkpath(options.platform.applicationData);
    QDir().mkpath(options.platform.documents);
    options.locale = locale;
    if (kbx) {
        options.kbxFactory = std::move(kbx);
        options.clock = clock;
    }
    editor = std::make_unique<TfrmEnterData>(dialogs, options);
}

void EditorFixture::New(int product, int version) {
    editor->SelectProduct(product);
    switch (version) {
    case 0x00:
        editor->FileNew(NewEntry::V1x);
        break;
    case 0x20:
        editor->FileNew(NewEntry::V20xx);
        break;
    case 0x21:
        editor->FileNew(NewEntry::V21xx);
        break;
    default:
        break;
    }
}

bool EditorFixture::Open(const ConfigImage& image, const QString& name) {
    const QString path =
        home.file(name + QLatin1String(FindProduct(image[kProductCodeAddress])
                                           ? FindProduct(image[kProductCodeAddress])->extension
                                           : ".bin"));
    SaveImageFile(path, image);
    dialogs.paths.push_back(path);
    editor->FileOpen();
    return editor->fileName() == path;
}

QString EditorFixture::Type(const char* name, const QString& text) {
    Field& field = f(name);
    editor->form().replaceText(field, QString());
    for (QChar key : text)
        editor->form().typeKey(field, key);
    return field.text;
}

ConfigImage EditorFixture::Collected() {
    const std::optional<ConversionError> error = editor->CollectFields();
    EXPECT_FALSE(error) << (error ? error->fieldName.toStdString() : "");
    return editor->working();
}

ConfigImage EditorFixture::Default(int product, int version) const {
    const ProductInfo* info = FindProduct(product);
    QString suffix = QStringLiteral("V1");
    if (!IsPlusProduct(product))
        suffix = version == 0 ? QStringLiteral("V1X") : QStringLiteral("V%1").arg(version, 0, 16);
    ConfigImage image{};
    LoadImageFile(dataFile(DefaultImageFileName(QLatin1String(info->defaultFileWord), suffix)), image);
    return image;
}

} // namespace zal::test
