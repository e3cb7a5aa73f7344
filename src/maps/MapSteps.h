#pragma once

// The one way the parameter maps are written: a list of steps in fill order, each a group of table rows
// or a named rule with a fill and a collect part. Fill and collect walk the same steps in the same
// order; a row says which image bytes its fields show and who writes them back.

#include "MapContext.h"
#include "ParameterMap.h"
#include "config/Products.h"

#include <functional>
#include <variant>
#include <vector>

namespace zal {

// How a row's bytes are shown.
enum class Enc {
    Code,         // radio ID code, two bytes
    List,         // drop-down, whole byte
    Bits,         // drop-down, (byte >> shift) & mask
    Fixed,        // drop-down set to a stored value, not tested
    Dash,         // entry field that always shows "---"
    Byte,         // decimal byte
    ByteFF0,      // decimal byte, 0xFF shows "0"
    Tenths,       // byte x 0.1 with one decimal; back as the whole tenths
    QuarterWhole, // two bytes x 0.25 shown whole (halves away from zero); back as whole quarters
    QuarterHundr, // two bytes x 0.25 with two decimals; back to the nearest quarter, halves up
    Check,        // check box: byte not 0; back as 1 or 0
};

// Who writes a row's byte back into the image.
enum class Writer {
    Row,    // the row itself
    Rule,   // a named rule of the same map (packed bytes, bytes that depend on other fields)
    Nobody, // the field only shows something; the byte passes through unchanged
};

struct Row {
    const char* fields; // the n-th field of the family uses address + n * stride
    Enc enc;
    int address;
    int stride;
    Scope scope; // the products and layouts the row is for
    bool mustMatch;
    Writer writer;
    int storedValue = 0; // Fixed: the value selected
    int shift = 0;       // Bits
    int mask = 0;        // Bits
};

struct Rule {
    const char* name;
    std::function<void(MapContext&, MapState&, const MapHooks&)> fill;
    std::function<void(MapContext&)> collect;
};

using Step = std::variant<std::vector<Row>, Rule>;

// A rule that only fills (derived fields, placeholders) or only collects (packed bytes).
Rule FillOnly(const char* name, std::function<void(MapContext&)> fill);
Rule CollectOnly(const char* name, std::function<void(MapContext&)> collect);
// A rule whose fill and collect need nothing but the context.
Rule Both(const char* name, std::function<void(MapContext&)> fill, std::function<void(MapContext&)> collect);
// Lets a view repaint between the pages of a fill.
Rule Repaint();

// How a map treats presence marks: the older products' map shows texts and writes bytes back only for
// fields in use (mark 1); the extended repeaters' map always does.
enum class Marks { Respected, Ignored };

int FillSteps(const std::vector<Step>& steps, Marks marks, MapContext& c, MapState& state,
              const MapHooks& hooks);
void CollectSteps(const std::vector<Step>& steps, Marks marks, MapContext& c);

} // namespace zal
