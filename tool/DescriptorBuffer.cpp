#include "DescriptorBuffer.h"

#include <cerrno>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace tool {
namespace {

constexpr std::size_t kBufferSize = std::size_t { 1 } << 16;

long ReadSome(int descriptor, char* buffer, std::size_t count)
{
#ifdef _WIN32
    return ::_read(descriptor, buffer, static_cast<unsigned>(count));
#else
    return static_cast<long>(::read(descriptor, buffer, count));
#endif
}

long WriteSome(int descriptor, const char* buffer, std::size_t count)
{
#ifdef _WIN32
    return ::_write(descriptor, buffer, static_cast<unsigned>(count));
#else
    return static_cast<long>(::write(descriptor, buffer, count));
#endif
}

} // namespace

DescriptorBuffer::DescriptorBuffer(int descriptor, Direction direction)
    : descriptor_(descriptor)
    , buffer_(kBufferSize)
{
    if (direction == kWrite)
        setp(buffer_.data(), buffer_.data() + buffer_.size());
}

DescriptorBuffer::~DescriptorBuffer()
{
    Drain();
}

DescriptorBuffer::int_type DescriptorBuffer::underflow()
{
    if (gptr() < egptr())
        return traits_type::to_int_type(*gptr());
    if (error_ != 0)
        return traits_type::eof();
    long got = 0;
    do {
        got = ReadSome(descriptor_, buffer_.data(), buffer_.size());
    } while (got < 0 && errno == EINTR);
    if (got < 0)
        error_ = errno;
    if (got <= 0)
        return traits_type::eof();
    setg(buffer_.data(), buffer_.data(), buffer_.data() + got);
    return traits_type::to_int_type(*gptr());
}

DescriptorBuffer::int_type DescriptorBuffer::overflow(int_type c)
{
    if (!Drain())
        return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
    }
    return traits_type::not_eof(c);
}

int DescriptorBuffer::sync()
{
    return Drain() ? 0 : -1;
}

bool DescriptorBuffer::Drain()
{
    if (pbase() == nullptr)
        return error_ == 0;
    const char* next = pbase();
    while (error_ == 0 && next < pptr()) {
        const long wrote = WriteSome(descriptor_, next, static_cast<std::size_t>(pptr() - next));
        if (wrote > 0)
            next += wrote;
        else if (wrote == 0)
            error_ = EIO; // no progress and no reason: never wait for ever
        else if (errno != EINTR)
            error_ = errno;
    }
    // After a failure the rest is dropped: nothing more will be written.
    setp(buffer_.data(), buffer_.data() + buffer_.size());
    return error_ == 0;
}

} // namespace tool
