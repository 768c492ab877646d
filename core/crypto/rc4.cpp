#include "core/crypto/rc4.h"

#include <numeric>
#include <stdexcept>
#include <utility>

#include "core/crypto/file_key.h"

namespace core {

Rc4::Rc4(std::span<const std::uint8_t> key) {
    if (key.empty() || key.size() > initial_.size()) throw std::invalid_argument("RC4 key of 1 to 256 bytes");
    std::iota(initial_.begin(), initial_.end(), std::uint8_t{0});
    std::uint8_t j = 0;
    for (std::size_t i = 0; i < initial_.size(); ++i) {
        j = static_cast<std::uint8_t>(j + initial_[i] + key[i % key.size()]);
        std::swap(initial_[i], initial_[j]);
    }
    Restart();
}

Rc4::~Rc4() {
    SecureZero(initial_);
    SecureZero(state_);
    i_ = j_ = 0;
}

void Rc4::Restart() {
    state_ = initial_;
    i_ = j_ = 0;
}

void Rc4::Apply(std::span<std::uint8_t> data) {
    // Indices and state are worked on locally so the compiler can keep them in registers.
    std::uint8_t i = i_;
    std::uint8_t j = j_;
    std::uint8_t* s = state_.data();
    for (std::uint8_t& byte : data) {
        ++i;
        j = static_cast<std::uint8_t>(j + s[i]);
        std::swap(s[i], s[j]);
        byte ^= s[static_cast<std::uint8_t>(s[i] + s[j])];
    }
    i_ = i;
    j_ = j;
}

}  // namespace core
