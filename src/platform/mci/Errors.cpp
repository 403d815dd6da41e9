#include "platform/mci/Errors.h"

namespace platform::mci {

std::string describe(uint32_t code)
{
    switch (code) {
    case Ok: return "The command completed successfully.";
    case UnrecognizedKeyword: return "The command holds a word the device does not recognise.";
    case UnrecognizedCommand: return "The command is not recognised.";
    case Hardware: return "The device reports a hardware error.";
    case InvalidDeviceName: return "The named device is not open.";
    case CannotLoadDriver: return "No device of this type is available.";
    case MissingCommandString: return "No command was given.";
    case BadInteger: return "A number in the command is not a valid whole number.";
    case MissingParameter: return "The command is missing a value it needs.";
    case CannotPlayFile: return "The file cannot be played: its format is not supported or it is damaged.";
    case FileNotFound: return "The file was not found.";
    case DeviceNotReady: return "The device is not ready: there is no disc or no open file.";
    case Internal: return "The device failed unexpectedly.";
    case CannotUseAll: return "This command cannot be given to all devices at once.";
    case ExtensionNotFound: return "No device type is known for this file name; name one with \"type\".";
    case OutOfRange: return "The value is outside the range the device accepts.";
    case DeviceTypeRequired: return "A device type must be named.";
    case DuplicateAlias: return "The alias is already in use by an open device.";
    case BadConstant: return "A value in the command is not one the device accepts.";
    case BadTimeFormat: return "The time format is not supported by this device.";
    case NoClosingQuote: return "A quoted word has no closing quotation mark.";
    case InvalidFile: return "The file is not a media file the device can open.";
    case NonapplicableFunction: return "The command cannot be carried out in the device's present state.";
    case FilenameRequired: return "A file name must be given.";
    case ExtraCharacters: return "The command has words left over after its last value.";
    case DeviceNotInstalled: return "There is no CD drive.";
    case NoWindow: return "The media has no picture, so it has no display window.";
    default: return {};
    }
}

}  // namespace platform::mci
