// Builds a binary default image (".b") from its annotated text form.
//
// Each line: "ADDRESS: BYTE BYTE ...  # comment", hexadecimal, the bytes going to consecutive addresses.
// The word "crc" in place of the bytes stores the image checksum at that address once every other byte
// is known. Addresses not listed hold 0x00; an address listed twice, or past 0xFF, is an error.

#include "config/ConfigImage.h"
#include "config/ImageChecksum.h"

#include <bitset>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

namespace {

bool ParseHex(const std::string& token, unsigned& value) {
    if (token.empty() || token.size() > 2)
        return false;
    try {
        size_t used = 0;
        value = static_cast<unsigned>(std::stoul(token, &used, 16));
        return used == token.size();
    } catch (...) {
        return false;
    }
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::cerr << "usage: zal-imagegen INPUT.txt OUTPUT.b\n";
        return 2;
    }
    std::ifstream in(argv[1]);
    if (!in) {
        std::cerr << argv[1] << ": cannot open\n";
        return 1;
    }
    zal::ConfigImage image{};
    std::bitset<zal::kImageSize> seen;
    int checksumAddress = -1;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        const auto hash = line.find('#');
        if (hash != std::string::npos)
            line.erase(hash);
        std::istringstream words(line);
        std::string first;
        if (!(words >> first))
            continue;
        auto fail = [&](const std::string& why) {
            std::cerr << argv[1] << ':' << number << ": " << why << '\n';
            return 1;
        };
        unsigned address = 0;
        if (first.back() != ':' || !ParseHex(first.substr(0, first.size() - 1), address))
            return fail("expected an address like \"3A:\"");
        std::string token;
        int count = 0;
        while (words >> token) {
            const unsigned at = address + static_cast<unsigned>(count++);
            if (at >= zal::kImageSize)
                return fail("address past 0xFF");
            if (seen[at])
                return fail("address listed twice");
            seen[at] = true;
            if (token == "crc") {
                checksumAddress = static_cast<int>(at);
                continue;
            }
            unsigned value = 0;
            if (!ParseHex(token, value))
                return fail("expected a hexadecimal byte, got \"" + token + "\"");
            image[at] = static_cast<std::uint8_t>(value);
        }
        if (count == 0)
            return fail("an address without bytes");
    }
    if (checksumAddress >= 0) {
        if (checksumAddress != zal::kImageChecksumAddress) {
            std::cerr << argv[1] << ": the checksum belongs at 0xE0\n";
            return 1;
        }
        zal::StoreImageChecksum(image);
    }
    std::FILE* out = std::fopen(argv[2], "wb");
    if (!out || std::fwrite(image.data(), 1, image.size(), out) != image.size() || std::fclose(out) != 0) {
        std::cerr << argv[2] << ": cannot write\n";
        return 1;
    }
    return 0;
}
