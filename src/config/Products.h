#pragma once

#include <QString>

#include <span>

namespace zal {

enum ProductCode : int {
    kBora = 1,
    kZal = 2,
    kMuve = 3,
    kDorf = 4,
    kMuvePlus = 5,
    kMuvePlus2 = 79,
};

// The two parameter-map families: the four older products share one map in four layout versions, the
// two extended repeaters share another with a single layout.
enum class ProductFamily { Classic, Plus };

struct ProductInfo {
    int code;
    const char* model;           // BORA, ZAL, ...
    const char* buttonCaption;   // caption of the product button
    int infoTextId;              // text beside the product button
    const char* extension;       // configuration file extension, with the dot
    int fileTypeTextId;          // file dialog filter text
    const char* defaultFileWord; // the word in "Default %s %s.bin"
    ProductFamily family;
};

std::span<const ProductInfo> Products();
// nullptr for a code outside the table.
const ProductInfo* FindProduct(int code);
bool IsPlusProduct(int code);

// Layout versions of the four older products; the extended repeaters have the single version code 1.
constexpr int kVersionV1x = 0x00;
constexpr int kVersionV20 = 0x20;
constexpr int kVersionV21 = 0x21;
constexpr int kVersionV22 = 0x22;
constexpr int kVersionPlus = 1;
constexpr int kVersionInvalid = -1;

struct LayoutVersion {
    int code;
    const char* menuEntry; // File, New version entry
    int menuTextId;
    const char* defaultSuffix; // the version word in "Default %s %s.bin"
};

std::span<const LayoutVersion> ClassicVersions();
// nullptr for a code that is not a classic layout version (0xFF is not mapped here).
const LayoutVersion* FindClassicVersion(int code);

// "Default <word> <suffix>.bin"
QString DefaultImageFileName(const QString& productWord, const QString& suffix);

} // namespace zal
