# SPDX-FileCopyrightText: 2026 The Skarnwing developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Thin wrapper over CMake and CTest; the two targets README names are all a new machine needs.
BUILD ?= build
ASAN_BUILD ?= build-asan
JOBS ?= 2
PREFIX ?= /usr/local
DESTDIR ?=
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
FRAMES ?= 50000
OUT ?= out
VERSION := $(shell ./scripts/make-dist.sh --version)

.PHONY: all deps configure build run test test-release test-asan bench golden fuzz soak clean install uninstall format \
	dist deb screenshots package-check

all: build

deps:
	./scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release

build: configure
	cmake --build $(BUILD) -j$(JOBS)

run: build
	cd $(BUILD) && ./skarnwing

test-release: build
	ctest --test-dir $(BUILD) --output-on-failure -j$(JOBS)

# Second build of everything with AddressSanitizer and UndefinedBehaviorSanitizer, at -O1 so the
# long replays run in minutes (the sanitizers see the same code paths).
test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DSKARNWING_SANITIZE=ON -DCMAKE_CXX_FLAGS_DEBUG="-g -O1"
	cmake --build $(ASAN_BUILD) -j$(JOBS)
	ctest --test-dir $(ASAN_BUILD) --output-on-failure -j$(JOBS)

# The benchmarks, then the summary of ratios beside their goals (BASE=an earlier build tree adds
# the start-up comparison; RUNS=5 alternated runs by default).
bench: build
	cd $(BUILD) && bench/skarnwing-bench
	bench/summary.sh $(BUILD) $(BASE)

# Lays out every C++ file in the house style (.clang-format); the suite's CodeFormat test checks it.
format:
	find src tools bench fuzz tests \( -name '*.cpp' -o -name '*.h' \) -print0 | xargs -0 clang-format -i

# Rewrites the golden replays' expected output from this build (a change meant to change behaviour).
golden: build
	./scripts/regenerate-golden.sh $(BUILD)

# The game under $(DESTDIR)$(PREFIX): bin/skarnwing, share/skarnwing/Files, the desktop entry,
# icons, metainfo and man page. The list of what went in is $(BUILD)/install_manifest.txt.
install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

# Removes every file the last install wrote, then the folders of the game's own left empty.
uninstall:
	@test -f $(BUILD)/install_manifest.txt || { echo "uninstall: no $(BUILD)/install_manifest.txt: nothing was installed from this build"; exit 1; }
	sed 's|^|$(DESTDIR)|' $(BUILD)/install_manifest.txt | xargs -d '\n' rm -f --
	find "$(DESTDIR)$(PREFIX)/share/skarnwing" -depth -type d -empty -delete 2>/dev/null || true

# Every loader's fuzz target for FUZZ_SECONDS each, seeded from the content the release build
# generated; only where clang (libFuzzer) is installed.
fuzz: build
	@mkdir -p $(FUZZ_BUILD)
	@if printf 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }\n' | \
	    clang++ -x c++ -fsanitize=fuzzer - -o $(FUZZ_BUILD)/libfuzzer-check 2> /dev/null; then \
	  cmake -S fuzz -B $(FUZZ_BUILD) -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
	    -DSKARNWING_CONTENT_BUILD=$(abspath $(BUILD)) && \
	  cmake --build $(FUZZ_BUILD) -j$(JOBS) && \
	  fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_SECONDS); \
	else \
	  echo "fuzz: clang with libFuzzer is not installed, so there are no fuzz targets to run"; \
	fi

# The monkey soak: FRAMES frames of random play (keys, mouse on every screen, saves and loads,
# take-offs into every mission and level) through the sanitizer build's replay tool, failing on a
# sanitizer report, a non-finite value in a state dump or a hang. SOAK_SEED repeats a soak.
soak: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DSKARNWING_SANITIZE=ON -DCMAKE_CXX_FLAGS_DEBUG="-g -O1"
	cmake --build $(ASAN_BUILD) --target skarnwing-replay -j$(JOBS)
	./scripts/soak.sh $(ASAN_BUILD) $(FRAMES) $(SOAK_SEED)

# The release tarball $(OUT)/skarnwing-$(VERSION).tar.gz, from the committed tree (HEAD).
dist:
	./scripts/make-dist.sh $(OUT)

# Debian's packages, built by dpkg-buildpackage from the release tarball unpacked in
# $(OUT)/deb (so from a clean tree of HEAD, like a packager's), with the release tests run in
# dh_auto_test; then lintian, which fails on any error or warning. The .deb files, .buildinfo
# and .changes land in $(OUT). DEB_BUILD_OPTIONS=nocheck skips the tests.
deb: dist
	rm -rf $(OUT)/deb && mkdir -p $(OUT)/deb
	tar -xzf $(OUT)/skarnwing-$(VERSION).tar.gz -C $(OUT)/deb
	cd $(OUT)/deb/skarnwing-$(VERSION) && \
	  DEB_BUILD_OPTIONS="parallel=$(JOBS) $(DEB_BUILD_OPTIONS)" nice -n 5 dpkg-buildpackage -us -uc -b
	mv $(OUT)/deb/*.deb $(OUT)/deb/*.buildinfo $(OUT)/deb/*.changes $(OUT)/
	rm -rf $(OUT)/deb
	lintian --fail-on error,warning --display-info $(OUT)/skarnwing_$(VERSION)-*_amd64.changes

# Installs the package from $(OUT) with apt-get, runs the installed game under Xvfb (title,
# screenshot, save), removes it and checks nothing but the player's files is left. Needs root.
package-check:
	./scripts/check-package.sh $(OUT)

# dist/screenshots/*.png, the pictures for the metainfo and the README, from the replay scripts
# beside them.
screenshots: build
	./scripts/make-screenshots.sh $(BUILD)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(OUT)

# The README's test command: the release tests, then the sanitizer build's.
test: test-release test-asan
