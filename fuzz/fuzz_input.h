#pragma once
// Taking an arbitrary input apart: a few leading bytes steer the target, the rest is the text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace lavodc::fuzz {

class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : rest_(reinterpret_cast<const char*>(data), size) {}

    std::uint8_t byte()
    {
        if (rest_.empty())
            return 0;
        const auto b = static_cast<std::uint8_t>(rest_.front());
        rest_.remove_prefix(1);
        return b;
    }
    // Up to the next NUL byte (or the end), which is consumed.
    std::string piece()
    {
        const std::size_t end = rest_.find('\0');
        std::string text(rest_.substr(0, end));
        rest_.remove_prefix(end == std::string_view::npos ? rest_.size() : end + 1);
        return text;
    }
    std::string_view rest() const { return rest_; }

private:
    std::string_view rest_;
};

} // namespace lavodc::fuzz
