#pragma once

#include "ConfigImage.h"

#include <QString>

#include <cstdint>
#include <functional>

namespace zal {

enum IdentifyResult {
    irSupported = 0,          // a product and version this program knows
    irUnsupportedVersion = 1, // a known product with a newer version than this program knows
    irUnknownVersion = 2,     // a known product with a version number that is not valid for it
    irUnknownProduct = 3,     // a product code outside the product table
};

// Classifies an image by its version code (0xF9) and product code (0xF8).
IdentifyResult IdentifyImage(int versionCode, int productCode);

// The firmware that made an image, as its identification bytes tell, with what it does differently
// from the rest of its product: decided once when an image is identified, so that rules and commands
// ask it instead of comparing version bytes of their own.
struct Firmware {
    int product = 0;
    int version = 0; // the layout version code
    int minor = 0;

    static Firmware Of(const ConfigImage& image);
    // The firmware of an image shown as product: the image's version bytes under that product.
    static Firmware Of(const ConfigImage& image, int product);

    int word() const { return version * 256 + minor; }
    // As the program shows it everywhere: "22.08", "1.x".
    QString text() const;
    // MUVE+ firmware 1.02 and below keeps the acknowledge setting as a plain value in channel A's
    // byte instead of one bit per channel.
    bool acknowledgeAsValue() const;
    // K-ORBA position alarms work from firmware 22.08 on.
    bool positionAlarms() const { return word() >= kPositionAlarmsFirmware; }

    static constexpr int kPositionAlarmsFirmware = 0x2208;
};

// Version text of a word with the version code in the high byte and the minor version in the low byte:
// "1.x" for V1.x layouts, else "22.08" style, two lower-case hexadecimal digits each.
QString FormatVersion(std::uint16_t word);

// Exactly two upper-case hexadecimal digits.
QString FormatHexByte(std::uint8_t value);

// The editor's current product and layout version, the selection that goes with its working image.
class ProductSelection {
public:
    int product() const { return product_; }
    int version() const { return version_; }
    int minor() const { return minor_; }
    Firmware firmware() const { return {product_, version_, minor_}; }

    // Sets product and version directly, without the selection rules (the editor's set-up does this).
    void setDirect(int product, int version) {
        product_ = product;
        version_ = version;
    }

    // Called by every successful product selection after the product code is set; the editor rebuilds
    // its value lists, enabling rules and menus there. It runs even when the product does not change.
    void setProductSelectedHook(std::function<void(int product)> hook) { hook_ = std::move(hook); }

    // Makes an image's identification the current selection, or marks the version invalid (-1) and
    // keeps the product.
    void SelectProductVersion(int versionCode, int minorVersion, int productCode);

    // Sets the current product and runs the hook.
    void SetCurrentProduct(int productCode);

    // True when an image of the current product with this version code may be combined with the
    // current selection (overwritten in a file, or written into a device).
    bool IsCompatibleVersion(int versionCode) const;

private:
    int product_ = 1;
    int version_ = 0x22;
    int minor_ = 0;
    std::function<void(int)> hook_;
};

} // namespace zal
