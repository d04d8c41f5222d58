// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Compile-time checks that a hand-written list of a record's fields names every field once: the
// state dump's list and the bests' take-off list both use them, so a field added to the game
// record and left out of either fails the build.

#include <cstddef>
#include <string_view>

// How many fields an aggregate record has: the most initialisers it takes, each in braces so
// that an array or a record field takes one as a number does.
struct AnyField {
    template <typename T>
    constexpr operator T() const noexcept; // only named where nothing is evaluated
};
template <typename Record, typename... Fields>
constexpr size_t fieldCount() {
    if constexpr (requires { Record{{Fields{}}..., {AnyField{}}}; }) {
        return fieldCount<Record, Fields..., AnyField>();
    } else {
        return sizeof...(Fields);
    }
}

// How many different names among those that begin with `prefix`.
template <size_t N>
constexpr size_t distinctNames(const std::string_view (&names)[N], std::string_view prefix = {}) {
    size_t count = 0;
    for (size_t i = 0; i < N; ++i) {
        bool first = names[i].starts_with(prefix);
        for (size_t j = 0; j < i && first; ++j) first = names[j] != names[i];
        count += first ? 1 : 0;
    }
    return count;
}

// A field's name, from a pointer to it so that a misspelt name does not compile.
template <typename Record, typename Field>
constexpr std::string_view fieldName(Field Record::*, std::string_view name) {
    return name;
}
