#pragma once

#include "ImageLayout.h"
#include "shell/Required.h"

#include <QString>

#include <cstdint>
#include <initializer_list>
#include <span>
#include <vector>

namespace zal {

// What the program knows of each product and layout version, in one place: the rules, commands and
// file names ask these rows instead of comparing product codes.

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

// A product with its layout family: what the enabling rules, value lists and maps are written for. The
// four older products count as V2x for versions 0x20-0x22 and as V1x for version 0. A new product that
// behaves as one of these takes its columns and needs none of its own: every rule, list, length and
// limit of that product is then its own too.
enum class Variant { MuvePlus, MuvePlus2, Bora2, Zal2, Muve2, Dorf2, Bora1, Zal1, Muve1, Dorf1, None };
constexpr int kVariantCount = 10;

// How the V1.x layout shows the action codes of the radio positions.
enum class V1xActionCodes {
    None,     // none shown
    OwnFixed, // positions 1-5 that send their own fixed code show it (ZAL)
    Repeated, // every position but the fixed input repeats what it receives (MUVE)
};

// One product; every field must be given (a row that leaves one out does not compile). A new product of
// an existing family is a row here (and its default images, its texts
// and its column in the enabling table): the rules, maps and commands ask the row, never the name.
struct ProductInfo {
    Required<int> code;
    Required<const char*> model;         // BORA, ZAL, ...
    Required<const char*> buttonCaption; // caption of the product button
    Required<int> buttonOrder;           // where its button stands in the main window, from the top
    // Its texts are German, marked for translation (QT_TRANSLATE_NOOP("Products", ...)) and shown
    // through ProductText().
    Required<const char*> infoText;        // text beside the product button
    Required<const char*> extension;       // configuration file extension, with the dot
    Required<const char*> fileTypeText;    // file dialog filter text
    Required<const char*> defaultFileWord; // the word in "Default %s %s.bin"
    // The Communication menu's item that writes its default image (with -SERVICE), and its text; none
    // (nullptr, nullptr) for a product without that service write.
    Required<const char*> writeDefaultMenu;
    Required<const char*> writeDefaultText;
    Required<ProductFamily> family;
    Required<unsigned> layouts; // its layout versions (Layouts({...})), each with a default image
    Required<Variant>
        variant; // its column in the rules: the only one of an extended repeater, an older product's V2x
    Required<Variant> variantV1x;  // an older product's V1.x column; None for the extended repeaters
    Required<int> saveFilterIndex; // the entry of the device-image save dialog's filter that shows its files
    Required<const char*> saveFilterLabel; // that entry's text
    Required<int> ownCodeAddress;          // where its own radio ID code (its first fixed code) is kept
    Required<bool> longSerial;   // keeps a long serial (0xC8-0xCA), its radio ID in the long protocol
    Required<int> writtenMarker; // the byte a write sets to 1 and sends after the verified ranges; -1: none
    Required<bool>
        signedCarrierSense; // the carrier sense threshold is signed and used only with listen-before-transmit
    Required<bool> frequencyRegionText; // the frequency region is shown as the device reports it, not chosen
    Required<bool> delayJumpers;        // V2x: delay and hops may be left to the device's jumpers (ZAL, MUVE)
    Required<bool> v1xJumpers;          // V1.x: delay and hops are set by the device's jumpers (MUVE)
    Required<bool>
        v1xSharedInputs; // V1.x: the fixed input follows position 1, positions 1-5 the wired alarm types
    Required<V1xActionCodes> v1xActionCodes;
    Required<bool> txActionCodesV2x; // V2x: a position's action code follows what it transmits (ZAL, MUVE)
    Required<bool> positions;        // V22: K-ORBA position codes, types and relays (ZAL, DORF)
    Required<bool> radioInputs;      // the editor's page of radio inputs is used (all but BORA)
    Required<bool> wiredInputs;      // the page of wired inputs is used (BORA, ZAL)
};

std::span<const ProductInfo> Products();
// nullptr for a code outside the table.
const ProductInfo* FindProduct(int code);
// The configuration files' patterns for an open dialog, every product's in both spellings
// ("*.bora ... *.Bora ...").
QString ConfigurationPatterns();
// The device-image save dialog's filter: an entry per product, in their saveFilterIndex order.
QString SaveFilter();
// The product a default write of this word ("BORA", as the default images name it) writes; nullptr
// when no product with that service write has it.
const ProductInfo* DefaultWriteProduct(const QString& word);
// The product a new window and a new file start with.
int DefaultProduct();
// The row of a product; for a code outside the table, a row that has none of the features.
const ProductInfo& ProductRow(int code);
bool IsPlusProduct(int code);
// BORA, ZAL, MUVE or DORF: the products of the older layouts, which take the service writes.
bool IsClassicProduct(int code);

// Layout versions of the four older products; the extended repeaters have the single version code 1.
constexpr int kVersionV1x = 0x00;
constexpr int kVersionV20 = 0x20;
constexpr int kVersionV21 = 0x21;
constexpr int kVersionV22 = 0x22;
constexpr int kVersionPlus = 1;
constexpr int kVersionInvalid = -1;

constexpr bool IsV2x(int version) {
    return version == kVersionV20 || version == kVersionV21 || version == kVersionV22;
}

// A set of layout versions, as a product row declares the ones it has.
constexpr unsigned LayoutBit(int version) {
    switch (version) {
    case kVersionV1x:
        return 1u;
    case kVersionV20:
        return 2u;
    case kVersionV21:
        return 4u;
    case kVersionV22:
        return 8u;
    case kVersionPlus:
        return 16u;
    default:
        return 0u;
    }
}
constexpr unsigned Layouts(std::initializer_list<int> versions) {
    unsigned bits = 0;
    for (const int version : versions)
        bits |= LayoutBit(version);
    return bits;
}
inline constexpr unsigned kEveryClassicLayout = Layouts({kVersionV1x, kVersionV20, kVersionV21, kVersionV22});

struct LayoutVersion {
    int code;
    const char* defaultSuffix; // the version word in "Default %s %s.bin"
    const char* text;          // as the default write names it: "V1.x", "V20.xx", ...
};

std::span<const LayoutVersion> ClassicVersions();
// nullptr for a code that is not a classic layout version; a device's version byte 0xFF counts as V1.x.
const LayoutVersion* FindClassicVersion(int code);

// K-ORBA positions are kept by ZAL and DORF from layout V22 on.
bool HasPositions(int product, int version);
// Whether the product has this layout version.
bool HasLayout(int product, int version);
// The product's layout version codes, oldest first.
std::vector<int> LayoutsOf(int product);
// The layout a new configuration of the product starts from: its newest; kVersionInvalid for a code
// outside the table.
int NewestLayout(int product);
// The product's layout versions in the way users name them ("V1.x, V20, V21, V22"; "V1" for one of the
// extended repeaters).
QString LayoutNames(int product);
// A product row's text in the user's language.
QString ProductText(const char* text);

// "Default <word> <suffix>.bin"
QString DefaultImageFileName(const QString& productWord, const QString& suffix);

// --- Product and layout together -----------------------------------------------------------------------

Variant VariantOf(int product, int version);

namespace scope_bits {
constexpr std::uint16_t Of(Variant v) {
    return v == Variant::None ? 0 : static_cast<std::uint16_t>(1u << static_cast<unsigned>(v));
}
} // namespace scope_bits

// A set of variants: the one way to say which products and layouts a rule applies to. The V2.x
// variants stand for three layout versions; a rule that holds for some of them only narrows its V2.x
// variants with onlyV2x(). Unknown() is a version the product does not have, for the rules that check
// whatever a file shows.
class Scope {
public:
    constexpr Scope() = default;
    constexpr Scope(Variant v) : bits_(scope_bits::Of(v)) {}
    static constexpr Scope Unknown() { return Scope(kUnknownBit, kEveryV2x); }

    // Combines two scopes; narrowed V2.x variants stay narrowed (both sides' versions together).
    friend constexpr Scope operator|(Scope a, Scope b) {
        const bool aV2x = (a.bits_ & kV2xBits) != 0, bV2x = (b.bits_ & kV2xBits) != 0;
        const std::uint8_t versions = aV2x && bV2x ? (a.versions_ | b.versions_)
                                      : aV2x       ? a.versions_
                                                   : b.versions_;
        return Scope(a.bits_ | b.bits_, versions);
    }
    // The same scope with its V2.x variants only in the versions given.
    constexpr Scope onlyV2x(std::initializer_list<int> versions) const {
        std::uint8_t mask = 0;
        for (const int version : versions)
            mask |= V2xBit(version);
        return Scope(bits_, mask);
    }

    // The variant alone, whatever versions its V2.x layouts are narrowed to.
    constexpr bool contains(Variant v) const { return (bits_ & Scope(v).bits_) != 0; }
    constexpr bool contains(Variant v, int version) const {
        if (v == Variant::None)
            return (bits_ & kUnknownBit) != 0;
        return contains(v) && ((Scope(v).bits_ & kV2xBits) == 0 || (versions_ & V2xBit(version)) != 0);
    }
    bool contains(int product, int version) const { return contains(VariantOf(product, version), version); }

private:
    static constexpr std::uint16_t kV2xBits = scope_bits::Of(Variant::Bora2) | scope_bits::Of(Variant::Zal2) |
                                              scope_bits::Of(Variant::Muve2) | scope_bits::Of(Variant::Dorf2);
    static constexpr std::uint16_t kUnknownBit = 1u << 15;
    static constexpr std::uint8_t kEveryV2x = 7;
    static constexpr std::uint8_t V2xBit(int version) {
        return version == kVersionV20 ? 1 : version == kVersionV21 ? 2 : version == kVersionV22 ? 4 : 0;
    }
    constexpr Scope(std::uint16_t bits, std::uint8_t versions) : bits_(bits), versions_(versions) {}
    std::uint16_t bits_ = 0;
    std::uint8_t versions_ = kEveryV2x; // of the V2.x layouts, the versions covered
};
static_assert(kVariantCount < 15, "a Scope keeps a bit per variant and one for an unknown version");

constexpr Scope operator|(Variant a, Variant b) {
    return Scope(a) | b;
}

inline constexpr Scope kScopePlus = Scope(Variant::MuvePlus) | Variant::MuvePlus2;
inline constexpr Scope kScopeV2x = Scope(Variant::Bora2) | Variant::Zal2 | Variant::Muve2 | Variant::Dorf2;
inline constexpr Scope kScopeV1x = Scope(Variant::Bora1) | Variant::Zal1 | Variant::Muve1 | Variant::Dorf1;
inline constexpr Scope kScopeClassic = kScopeV2x | kScopeV1x;
inline constexpr Scope kScopeAll = kScopeClassic | kScopePlus;

// --- What a write sends ---------------------------------------------------------------------------------

// The ranges Write to device sends and verifies, in order. The older products never get 0x10-0x1E (the
// fixed codes), 0x6E-0x6F and 0xF7-0xFF; the extended repeaters keep 0x00-0x1F, 0x93-0x95 and 0xF0-0xFF
// of their own (MUVE+ II also gets its marker byte 0xE2, written but not verified).
std::vector<AddressRange> WriteRanges(int product);
// What the read-back after a write compares: the written ranges; for the extended repeaters 0x20-0xE0
// whole (0x93-0x95 are the device's own there) and 0xF6.
std::vector<AddressRange> VerifiedRanges(int product);
// The extended repeaters' bytes that stay as the device has them (a MUVE+ II's long serial among them).
std::vector<AddressRange> KeptByDevice(int product);
// What identifies the device before a write: 51 bytes, not the whole image.
std::vector<AddressRange> IdentificationRanges();
// The same, with what a write of this product keeps of the device beyond them (a MUVE+ II's long
// serial).
std::vector<AddressRange> IdentificationRanges(int product);
// The default write: the older layouts' write ranges, then the product and version code.
std::vector<AddressRange> DefaultWriteRanges();
// The marker byte a MUVE+ II write sets to 1 and sends after the verified ranges; -1 for others.
int WrittenMarkerAddress(int product);
// Whether the product keeps a long serial (kPlus2LongSerialBytes), part of what tells one device from
// another.
bool HasLongSerial(int product);

} // namespace zal
