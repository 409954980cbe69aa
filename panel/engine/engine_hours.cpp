// The engine-hours store: the Flydat hours survive from one flight to the next in a five-character
// file, read at the gauge's install and written at its kill.
//
// The record is four characters of tenths of an hour and a space. Positions 2 to 4 are digits;
// position 1 is the character of code 48 + thousands, which runs past '9' into ':', ';' ... up to
// code 127 for counts of 10000 and more. Only the first four characters are read.
#include <cstdio>

#include "engine.h"

namespace engine {

char HoursDigits[kHoursRecordLength + 1] = "0000 ";

namespace {

bool ValidRecord(const unsigned char* c) {
    if (c[0] < '0' || c[0] > 127) return false;
    for (int i = 1; i < 4; ++i)
        if (c[i] < '0' || c[i] > '9') return false;
    return true;
}

int32_t RecordValue(const char* digits) {
    int32_t value = 0;
    for (int i = 0; i < 4; ++i) value = value * 10 + (static_cast<unsigned char>(digits[i]) - 48);
    return value;
}

// Writes the record into the temporary file and renames it over the old one, so that a failure
// anywhere on the way (no folder, full disk, a crash) leaves the old file whole.
void WriteRecord(const char* record) {
    std::FILE* file = std::fopen(kHoursTemporaryFile, "w");
    if (file == nullptr) return;
    const bool written = std::fwrite(record, 1, kHoursRecordLength, file) == kHoursRecordLength;
    const bool closed = std::fclose(file) == 0;  // the data reaches the file only here
    if (!written || !closed || std::rename(kHoursTemporaryFile, kHoursFile) != 0)
        std::remove(kHoursTemporaryFile);
}

}  // namespace

void LoadEngineHours() {
    if (std::FILE* file = std::fopen(kHoursFile, "r")) {
        // A line read of at most four characters. Only a whole record replaces the digits: a
        // short or damaged file leaves the last good ones, so it never reads as another value.
        unsigned char read[4];
        int count = 0;
        while (count < 4) {
            const int c = std::fgetc(file);
            if (c == EOF) break;
            read[count++] = static_cast<unsigned char>(c);
            if (c == '\n') break;
        }
        std::fclose(file);
        if (count == 4 && ValidRecord(read))
            for (int i = 0; i < 4; ++i) HoursDigits[i] = static_cast<char>(read[i]);
    }
    HoursBase = RecordValue(HoursDigits);
}

void SaveEngineHours() {
    if (HoursValue == 0) return;
    const uint32_t v = static_cast<uint32_t>(HoursValue);
    // Past 79999 the first character would need a code above 127 and read back as another
    // value: such a number is not stored, and the file keeps its last good record.
    if (v > kLargestStorableHours) return;
    HoursDigits[0] = static_cast<char>(48 + v / 1000);
    HoursDigits[1] = static_cast<char>(48 + v % 1000 / 100);
    HoursDigits[2] = static_cast<char>(48 + v % 100 / 10);
    HoursDigits[3] = static_cast<char>(48 + v % 10);
    HoursDigits[4] = ' ';
    WriteRecord(HoursDigits);
}

}  // namespace engine
