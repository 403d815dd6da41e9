#pragma once
#include <cstdint>
#include <string>

namespace platform::mci {

// Result codes, numbered like the Windows multimedia command interface's.
enum Error : uint32_t {
    Ok = 0,
    UnrecognizedKeyword = 259,
    UnrecognizedCommand = 261,
    Hardware = 262,
    InvalidDeviceName = 263,  // alias not open
    CannotLoadDriver = 266,
    MissingCommandString = 267,
    BadInteger = 270,
    MissingParameter = 273,
    CannotPlayFile = 274,
    FileNotFound = 275,
    DeviceNotReady = 276,
    Internal = 277,
    CannotUseAll = 279,
    ExtensionNotFound = 281,
    OutOfRange = 282,
    DeviceTypeRequired = 287,
    DuplicateAlias = 289,
    BadConstant = 290,
    BadTimeFormat = 293,
    NoClosingQuote = 294,
    InvalidFile = 296,
    NonapplicableFunction = 302,
    FilenameRequired = 304,
    ExtraCharacters = 305,
    DeviceNotInstalled = 306,
    NoWindow = 346,
};

// Our own English sentence for a code; empty for an unknown code.
std::string describe(uint32_t code);

}  // namespace platform::mci
