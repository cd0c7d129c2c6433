#pragma once
// A value or the error that prevented it. Failures travel up as values to
// the one place that reports them; nothing is thrown.

#include <concepts>
#include <optional>
#include <type_traits>
#include <utility>
#include <variant>

namespace platform {

template <class T, class E>
class [[nodiscard]] Expected {
public:
    using value_type = T;
    using error_type = E;

    template <class U = T>
    requires std::constructible_from<T, U&&> &&(!std::same_as<std::remove_cvref_t<U>, Expected>)Expected(U&& value)
        : state_(std::in_place_index<0>, std::forward<U>(value)) {}

    template <class U>
    requires std::constructible_from<E, U&&> &&
        (!std::constructible_from<T, U&&>)&&(!std::same_as<std::remove_cvref_t<U>, Expected>)Expected(U&& error)
        : state_(std::in_place_index<1>, std::forward<U>(error)) {}

    bool hasValue() const { return state_.index() == 0; }
    explicit operator bool() const { return hasValue(); }

    T& value() & { return std::get<0>(state_); }
    const T& value() const& { return std::get<0>(state_); }
    T&& value() && { return std::get<0>(std::move(state_)); }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }
    T&& operator*() && { return std::move(*this).value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }

    E& error() & { return std::get<1>(state_); }
    const E& error() const& { return std::get<1>(state_); }
    E&& error() && { return std::get<1>(std::move(state_)); }

private:
    std::variant<T, E> state_;
};

template <class E>
class [[nodiscard]] Expected<void, E> {
public:
    using value_type = void;
    using error_type = E;

    Expected() = default;

    template <class U>
    requires std::constructible_from<E, U&&> &&(!std::same_as<std::remove_cvref_t<U>, Expected>)Expected(U&& error)
        : error_(std::forward<U>(error)) {}

    bool hasValue() const { return !error_.has_value(); }
    explicit operator bool() const { return hasValue(); }

    E& error() & { return *error_; }
    const E& error() const& { return *error_; }
    E&& error() && { return std::move(*error_); }

private:
    std::optional<E> error_;
};

}  // namespace platform
