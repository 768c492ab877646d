#pragma once
#include <array>
#include <cstdint>
#include <span>

namespace core {

// RC4 with its key schedule kept apart from the running state, so that a caller can
// restart the key stream cheaply: every chunk of a file starts from the initial state.
class Rc4 {
public:
    explicit Rc4(std::span<const std::uint8_t> key);  // key of 1 to 256 bytes
    ~Rc4();
    Rc4(const Rc4&) = default;
    Rc4& operator=(const Rc4&) = default;

    // Restarts the key stream at the key's initial state.
    void Restart();
    // XORs the next key-stream bytes into data (encipher and decipher are the same).
    void Apply(std::span<std::uint8_t> data);

private:
    std::array<std::uint8_t, 256> initial_{};
    std::array<std::uint8_t, 256> state_{};
    std::uint8_t i_ = 0;
    std::uint8_t j_ = 0;
};

}  // namespace core
