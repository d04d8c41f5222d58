#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Skarnwing developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Fails when a C++ file strays from the house style in .clang-format; `make format` mends it.
set -u
cd "$(dirname "$0")/.."
find src tools bench fuzz tests \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z |
  xargs -0 clang-format --dry-run --Werror
