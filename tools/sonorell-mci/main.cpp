// Drives the multimedia devices by hand: each argument, or else each line of standard input,
// is one command; each is answered at once with "<code> <reply>" or "<code> <description>".

#include "platform/mci/Errors.h"
#include "platform/mci/Interpreter.h"

#include <cstdio>
#include <iostream>
#include <string>

static void run(const std::string& command)
{
    if (command.find_first_not_of(" \t\r") == std::string::npos) return;
    std::string reply;
    const uint32_t code = platform::mci::interpreter().send(command, reply);
    const std::string text = code == 0 ? reply : platform::mci::describe(code);
    std::printf("%u %s\n", code, text.c_str());
    std::fflush(stdout);
}

int main(int argc, char** argv)
{
    if (argc > 1 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
        std::puts("Usage: sonorell-mci [COMMAND...]\n"
                  "Sends each COMMAND (or each line of standard input) to the multimedia devices and\n"
                  "prints the result code and the reply, or the error description.\n"
                  "Example: sonorell-mci \"open cdaudio alias cd\" \"status cd number of tracks\"");
        return 0;
    }
    for (int i = 1; i < argc; ++i) run(argv[i]);
    if (argc == 1) {
        std::string line;
        while (std::getline(std::cin, line)) run(line);
    }
    platform::mci::interpreter().closeAll();
    return 0;
}
