# Thin wrapper over CMake and CTest; the two targets README names are all a new machine needs.
BUILD ?= build
ASAN_BUILD ?= build-asan
JOBS ?= 2

.PHONY: all deps configure build run test test-release test-asan bench golden clean

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

# Second build of everything with AddressSanitizer and UndefinedBehaviorSanitizer.
test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DSKARNWING_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j$(JOBS)
	ctest --test-dir $(ASAN_BUILD) --output-on-failure -j$(JOBS)

bench: build
	cd $(BUILD) && bench/skarnwing-bench

# Rewrites the golden replays' expected output from this build (a change meant to change behaviour).
golden: build
	./scripts/regenerate-golden.sh $(BUILD)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)

# The README's test command: the release tests, then the sanitizer build's.
test: test-release test-asan
