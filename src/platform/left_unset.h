// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// An allocator whose default construction leaves a value unset, so that sizing a buffer that is
// about to be filled whole does not first write zeros over it (nor touch its pages before then).

#include <memory>
#include <new>
#include <utility>

template <class T>
struct LeftUnset : std::allocator<T> {
    template <class U>
    struct rebind {
        using other = LeftUnset<U>;
    };
    LeftUnset() = default;
    template <class U>
    LeftUnset(const LeftUnset<U>&) noexcept {}
    template <class U>
    void construct(U* at) noexcept {
        ::new (static_cast<void*>(at)) U;
    }
    template <class U, class... Args>
    void construct(U* at, Args&&... args) {
        ::new (static_cast<void*>(at)) U(std::forward<Args>(args)...);
    }
};
