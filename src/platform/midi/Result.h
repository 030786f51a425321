#pragma once

// A small expected-style result: either a value or a ReadError. Readers propagate failures with
// MIDI_TRY so that no failure branch has to repeat cleanup or forget the offset.

#include <utility>
#include <variant>

#include "platform/midi/ReadError.h"

namespace midi {

template <class T> class [[nodiscard]] Result {
public:
    Result(T value) : m_state(std::in_place_index<0>, std::move(value)) {}
    Result(ReadError error) : m_state(std::in_place_index<1>, std::move(error)) {}

    bool ok() const { return m_state.index() == 0; }
    explicit operator bool() const { return ok(); }

    T& value() & { return std::get<0>(m_state); }
    const T& value() const& { return std::get<0>(m_state); }
    T&& value() && { return std::get<0>(std::move(m_state)); }

    const ReadError& error() const& { return std::get<1>(m_state); }
    ReadError&& error() && { return std::get<1>(std::move(m_state)); }

private:
    std::variant<T, ReadError> m_state;
};

} // namespace midi

#define MIDI_TRY_CONCAT_INNER(a, b) a##b
#define MIDI_TRY_CONCAT(a, b) MIDI_TRY_CONCAT_INNER(a, b)

// MIDI_TRY(auto x, Expression()) declares x from the value of a Result, or returns its error
// from the enclosing function (whose return type must be constructible from a ReadError).
#define MIDI_TRY(declaration, expression)                                                                    \
    auto MIDI_TRY_CONCAT(midiTryResult_, __LINE__) = (expression);                                           \
    if (!MIDI_TRY_CONCAT(midiTryResult_, __LINE__).ok())                                                     \
        return std::move(MIDI_TRY_CONCAT(midiTryResult_, __LINE__)).error();                                 \
    declaration = std::move(MIDI_TRY_CONCAT(midiTryResult_, __LINE__)).value()
