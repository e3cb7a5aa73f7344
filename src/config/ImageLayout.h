#pragma once

// The image's addresses and ranges that code works with. Map rows keep their own addresses as data;
// everything a rule, a command or a record reads or writes by hand is named here, so that one address
// has one home.

namespace zal {

struct AddressRange {
    int first, last;
};

// --- The whole image ------------------------------------------------------------------------------------
inline constexpr AddressRange kWholeImage{0x00, 0xFF};

// --- Identification (every product) ---------------------------------------------------------------------
inline constexpr int kProductCodeAddress = 0xF8;
inline constexpr int kVersionCodeAddress = 0xF9;
inline constexpr int kMinorVersionAddress = 0xFA;
inline constexpr AddressRange kIdentificationBytes{kProductCodeAddress, kMinorVersionAddress};
// The 24-bit serial number, high byte first (a MUVE+ II puts three more bytes before its last two).
inline constexpr int kSerialAddress = 0xFD;
// What tells two devices apart when one replaces another behind the KBX: the identification and
// the serial number, and the upper serial bytes of a MUVE+ II.
inline constexpr AddressRange kIdentityBytes{kProductCodeAddress, 0xFF};
inline constexpr int kRadioCalibrationAddress = 0xF7;

// --- The older products (BORA, ZAL, MUVE, DORF) ---------------------------------------------------------
// Six fixed radio ID codes, two bytes each: the 1st to 5th fixed code (the first is the device's own
// radio ID), then the code the fixed wired input sends (ZAL V1.x mirrors position 1 into it).
inline constexpr int kFixedCodesAddress = 0x10;
inline constexpr AddressRange kFixedCodeBytes{0x10, 0x1B};
inline constexpr int kFixedCodeCount = 6;
inline constexpr int kFixedInputCodeAddress = 0x1A;
inline constexpr int kEquipmentTypeAddress = 0x1F;
inline constexpr int kFrequencyRegionAddress = 0xFC;
inline constexpr int kHardwareVersionAddress = 0xFB;
// The alarm delay in tenths of a second: the low byte, and from layout V21 on a high byte too.
inline constexpr int kAlarmDelayLowAddress = 0x43;
inline constexpr int kAlarmDelayHighAddress = 0x57;
// The transmission delay (tenths, 0xFF in both bytes: the jumpers decide) and the hop count (0xFF:
// the jumpers decide).
inline constexpr int kTransmissionDelayLowAddress = 0x53;
inline constexpr int kTransmissionDelayHighAddress = 0x67;
inline constexpr int kHopsAddress = 0x54;
// The same-code inhibit time, stored differently by each layout: one byte (V20), a low and a high
// byte apart (V21), a big-endian word (V22).
inline constexpr int kInhibitV20Address = 0x56;
inline constexpr int kInhibitV21LowAddress = 0x56;
inline constexpr int kInhibitV21HighAddress = 0x66;
inline constexpr int kInhibitV22Address = 0x70;
inline constexpr int kDementiaBlockV22Address = 0x72;
// K-ORBA positions (ZAL and DORF V22): eight codes, eight types, eight relays, and the relay
// inhibit after personnel alarms in tenths of a second.
inline constexpr int kPositionCodesAddress = 0xA0;
inline constexpr AddressRange kPositionCodeBytes{0xA0, 0xAF};
inline constexpr int kPositionTypesAddress = 0xB0;
inline constexpr int kPositionRelaysAddress = 0xC0;
inline constexpr int kPositionCount = 8;
inline constexpr int kPersonnelInhibitAddress = 0x9F;
// The alarm type of each radio position: positions 1-8 from 0x28 on, the fixed input F and A apart.
inline constexpr int kAlarmTypePosAAddress = 0x25;
inline constexpr int kAlarmTypePosFAddress = 0x26;
inline constexpr int kAlarmTypesAddress = 0x28;
// The relay of each radio position 1-8; V1.x packs the transmitter into the same byte (bit 2).
inline constexpr int kPositionRelaysV1xAddress = 0x38;
inline constexpr int kRelayTxBitV1x = 2;
// The relay of each wired input 1-5; V1.x packs the transmitter into the same byte (bit 3).
inline constexpr int kWiredRelaysAddress = 0x58;
inline constexpr int kWiredTxBitV1x = 3;
// The analogue thresholds of wired inputs 4 and 5 (0-3 V in 255 steps).
inline constexpr int kWiredThreshold4Address = 0x40;
inline constexpr int kWiredThreshold5Address = 0x41;
// The auto-reset timers of wired inputs 1-5, a big-endian word each.
inline constexpr AddressRange kWiredResetTimerBytes{0x76, 0x7F};

// --- The extended repeaters (MUVE+, MUVE+ II) -----------------------------------------------------------
// Nine fixed codes at 0x00-0x11: the device's own radio ID, then the eight action codes (code v at 2v).
inline constexpr int kPlusOwnCodeAddress = 0x00;
inline constexpr AddressRange kPlusFixedCodeBytes{0x00, 0x11};
inline constexpr int kPlusFixedCodeCount = 9;
// Frequencies of channels A and B, 32 bits each, big-endian.
inline constexpr int kPlusFrequencyAAddress = 0xC0;
inline constexpr int kPlusFrequencyBAddress = 0xC4;
// The MUVE+ II's long serial number and long radio ID: 0xC8-0xCA, then the last two serial bytes.
inline constexpr int kPlus2LongSerialAddress = 0xC8;
inline constexpr AddressRange kPlus2LongSerialBytes{0xC8, 0xCA};
// The transmission protocol; 2 is the long protocol, in which the long serial is the radio ID.
inline constexpr int kPlus2TransmissionProtocolAddress = 0x94;
inline constexpr int kPlus2LongProtocol = 2;
// Acknowledge: bit 0 of each byte, channel A and channel B (old MUVE+ firmware: a value in A).
inline constexpr int kPlusAcknowledgeAAddress = 0x83;
inline constexpr int kPlusAcknowledgeBAddress = 0x88;
// The image checksum over 0x00-0xDF and 0xF0-0xFF.
inline constexpr int kImageChecksumAddress = 0xE0;
inline constexpr AddressRange kChecksummedBytes[] = {{0x00, 0xDF}, {0xF0, 0xFF}};
inline constexpr int kPlusCarrierSenseAddress = 0xF6;
// The supervision intervals, each a value with its unit.
inline constexpr int kPlusTestAlarmIntervalAddress = 0xA2;
inline constexpr int kPlusBatteryAlarmIntervalAddress = 0xA4;
inline constexpr int kPlusFrequencyRegionAddress = 0xFB;
// The production date, four packed BCD bytes: century, year, month, day.
inline constexpr int kPlusProductionDateAddress = 0xF0;

} // namespace zal
