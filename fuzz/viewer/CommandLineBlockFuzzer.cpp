// A command-line block as any process may send it to the running viewer (WM_COPYDATA): the
// arguments are split and the scheduled-recording command read from them. Every argument must lie
// within the block, a taken command must hold a duration whose milliseconds fit 32 bits and a path
// that fits its field, and packing the arguments again must give the block back when it ended in a NUL.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "viewer/CommandLineBlock.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::u16string block(size / 2, u'\0');
    if (!block.empty())
        std::memcpy(&block[0], data, block.size() * 2);
    const std::vector<std::u16string> arguments = viewer::UnpackArguments(block.data(), block.size());
    size_t units = 0;
    for (const std::u16string& argument : arguments)
        units += argument.size() + 1;
    if (units < block.size() || units > block.size() + 1)
        std::abort();
    viewer::RecordCommand command;
    if (viewer::ParseRecordCommand(arguments, command)) {
        if (command.minutes > viewer::kMaxRecordMinutes || command.path.size() >= viewer::kRecordPathField ||
            arguments.size() < 5)
            std::abort();
    }
    if (!block.empty() && block.back() == u'\0' && !arguments.empty()) {
        // PackArguments drops the program name unless it is the recording switch.
        std::vector<std::u16string> argv = arguments;
        argv.insert(argv.begin(), u"Tolvik.exe");
        if (viewer::PackArguments(argv) != block)
            std::abort();
    }
    return 0;
}
