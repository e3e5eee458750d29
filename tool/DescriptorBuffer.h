#pragma once

// Standard input or output as a stream buffer that remembers why it failed.
// The standard library's buffers turn a failed read into an end of input
// (or an exception) and a failed write into a bad stream, without the
// system's reason; the dispatcher reports that reason and fails the
// command, so that a full disk or a folder given as input is never a
// success.

#include <cstddef>
#include <streambuf>
#include <vector>

namespace tool {

class DescriptorBuffer : public std::streambuf {
public:
    enum Direction { kRead, kWrite };

    DescriptorBuffer(int descriptor, Direction direction);
    ~DescriptorBuffer() override;
    DescriptorBuffer(const DescriptorBuffer&) = delete;
    DescriptorBuffer& operator=(const DescriptorBuffer&) = delete;

    // The errno value of the first failed read or write; 0 while none failed.
    int Error() const noexcept { return error_; }

protected:
    int_type underflow() override;
    int_type overflow(int_type c) override;
    int sync() override;

private:
    // Writes out the put area; false (with Error set) when that fails.
    bool Drain();

    int descriptor_;
    std::vector<char> buffer_;
    int error_ = 0;
};

} // namespace tool
