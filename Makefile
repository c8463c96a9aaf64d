# Morlu: build, run and test on Debian 12. `make run` and `make test` install what is missing first.

BUILD_DIR   ?= build
BUILD_TYPE  ?= RelWithDebInfo
JOBS        ?= $(shell nproc 2>/dev/null || echo 2)
WERROR      ?= $(MORLU_WERROR)
FUZZ_SECONDS ?= 60
PREFIX      ?= /usr/local
ARENA_GAMES ?= 10000
SOAK_MINUTES ?= 10
SCREENSHOTS_DIR ?= $(BUILD_DIR)/screenshots

PACKAGES := cmake ninja-build g++ pkg-config qt6-base-dev qt6-multimedia-dev libgtest-dev libgmock-dev \
            libbenchmark-dev zlib1g-dev libjpeg-dev libicu-dev fonts-dejavu-core \
            desktop-file-utils appstream dpkg-dev file lintian man-db groff-base \
            libavahi-client-dev libminiupnpc-dev avahi-daemon avahi-utils dbus iproute2

# The fuzz targets alone need clang (make fuzz-build, make fuzz).
FUZZ_PACKAGES := clang

CMAKE_FLAGS := -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(if $(filter ON 1 yes,$(WERROR)),-DMORLU_WERROR=ON,)

.PHONY: all deps fuzz-deps install-missing configure build run test bench arena asan fuzz fuzz-build soak package screenshots format clean install

all: build

# Installs only the packages that are missing; quick when everything is there.
deps:
	@$(MAKE) --no-print-directory install-missing WANTED="$(PACKAGES)"

fuzz-deps: deps
	@$(MAKE) --no-print-directory install-missing WANTED="$(FUZZ_PACKAGES)"

install-missing:
	@missing=""; \
	for p in $(WANTED); do \
	    dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	    echo "Installing:$$missing"; \
	    sudo=""; [ "$$(id -u)" -ne 0 ] && sudo=sudo; \
	    $$sudo apt-get update -qq && \
	    DEBIAN_FRONTEND=noninteractive $$sudo apt-get install -y -qq $$missing; \
	fi

configure: deps
	@[ -f $(BUILD_DIR)/build.ninja ] || cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	./$(BUILD_DIR)/morlu

# Every check that can fail, but not the soak runs (make soak).
test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS) -LE soak

# Nine scripted tables against build/morlu --server for SOAK_MINUTES (default 10), then the flood
# check, which fails when a chat round trip under a flood takes 100 ms or the host keeps its memory.
soak: build
	./$(BUILD_DIR)/morlu_soak --minutes $(SOAK_MINUTES)
	./$(BUILD_DIR)/morlu_soak --flood-check
	./$(BUILD_DIR)/morlu_soak --host-player-check

# The Debian package build/morlu_VERSION-1_ARCH.deb; only the installed programs are built for it.
package: configure
	cmake --build $(BUILD_DIR) -j $(JOBS) --target morlu morlu_tally_tool morlu_game_tool morlu_package_files
	cd $(BUILD_DIR) && cpack -G DEB

# The board's pictures, drawn offscreen into SCREENSHOTS_DIR (default build/screenshots).
screenshots: configure
	cmake --build $(BUILD_DIR) -j $(JOBS) --target morlu_screenshots morlu_playtogether
	QT_QPA_PLATFORM=offscreen ./$(BUILD_DIR)/morlu-screenshots $(SCREENSHOTS_DIR)
	QT_QPA_PLATFORM=offscreen ./$(BUILD_DIR)/morlu-playtogether --shots $(SCREENSHOTS_DIR)

bench: build
	./$(BUILD_DIR)/morlu_bench --benchmark_counters_tabular=true
	./$(BUILD_DIR)/morlu_reconnect_bench
	QT_QPA_PLATFORM=offscreen ./$(BUILD_DIR)/morlu_replay_bench

# The expert computer player against three simple ones on duplicate short games (ARENA_GAMES games, and a
# tenth as many games of four experts); prints the tables shown in the README.
arena: build
	./$(BUILD_DIR)/morlu-arena --games $(ARENA_GAMES) --jobs $(JOBS)

# The whole suite under AddressSanitizer and UndefinedBehaviorSanitizer, in its own build folder.
# The leak checker's guess at the size of a dynamically loaded library's thread-local block can read
# garbage on this C library and bring the checker down at exit (a test passes, then the process dies in
# the checker), depending only on where memory happens to lie; intercept_tls_get_addr=0 turns that
# guess off, and those blocks stay reachable through the thread's own table, which is still scanned.
asan: deps
	@[ -f build-asan/build.ninja ] || cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
	    -DMORLU_SANITIZE=ON -DMORLU_BENCH=OFF
	cmake --build build-asan -j $(JOBS)
	cd build-asan && ASAN_OPTIONS=detect_leaks=1:intercept_tls_get_addr=0 UBSAN_OPTIONS=print_stacktrace=1 \
	    QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) -LE soak

# libFuzzer targets (clang); each runs FUZZ_SECONDS against its corpus.
fuzz-build: fuzz-deps
	@[ -f build-fuzz/build.ninja ] || CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja \
	    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORLU_FUZZ=ON -DMORLU_TESTS=OFF -DMORLU_BENCH=OFF
	cmake --build build-fuzz -j $(JOBS) --target morlu_fuzzers

fuzz: fuzz-build
	@set -e; for f in build-fuzz/fuzz_*; do \
	    name=$$(basename $$f); mkdir -p fuzz/corpus-$$name; \
	    echo "== $$name for $(FUZZ_SECONDS)s"; \
	    $$f -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 fuzz/corpus-$$name fuzz/seeds/$$name; \
	done

# Installs the program and the tally tool (in games/), the desktop entry, icons, metainfo and manual
# pages under PREFIX.
install: build
	cmake --install $(BUILD_DIR) --prefix $(PREFIX)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD_DIR) build-asan build-fuzz
