# make run       build the editor and open examples/sample.rsc (or FILE=...)
# make test      build everything and run all tests
# make sanitize  build the core and window tests (and the programs the package tests run) with
#                AddressSanitizer and UBSan and run them
# make bench     build and run the benchmarks (their files go to BENCH_DIR, default /tmp), with ripgrep
# make fuzz      build the libFuzzer targets with clang and run each for FUZZ_SECONDS
# make install   build the programs (without tests if not built yet) and install them into PREFIX
#                (default /usr/local); installs no package
# make deb       build the Debian package in DEB_BUILD (default build-deb) and check it with lintian

BUILD ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
DEB_BUILD ?= build-deb
FUZZ_SECONDS ?= 180
PREFIX ?= /usr/local
FILE ?= examples/sample.rsc
JOBS ?= 2
BENCH_DIR ?= /tmp

.PHONY: deps build run test sanitize bench fuzz install deb clean

deps:
	./scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON
	cmake --build $(BUILD) -j$(JOBS)

run: build
	./$(BUILD)/quillet $(FILE)

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j$(JOBS)

sanitize: deps
	cmake -S . -B $(ASAN_BUILD) -DQUILLET_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
	cmake --build $(ASAN_BUILD) -j$(JOBS) --target quillet_core_tests quillet-cli quillet_qt_tests man_pages
	ctest --test-dir $(ASAN_BUILD) --output-on-failure -j$(JOBS)

bench: build
	./scripts/install-deps.sh --bench
	./$(BUILD)/quillet_load_bench $(BENCH_DIR)
	./$(BUILD)/quillet_search_bench $(BENCH_DIR)
	./$(BUILD)/quillet_cli_bench $(BENCH_DIR)
	./$(BUILD)/quillet_undo_bench $(BENCH_DIR)
	./$(BUILD)/quillet_grid_bench $(BENCH_DIR)

fuzz:
	./scripts/install-deps.sh --fuzz
	FUZZ_BUILD=$(FUZZ_BUILD) JOBS=$(JOBS) ./scripts/fuzz.sh $(FUZZ_SECONDS)

# A build folder made by make build keeps its tests; a new one is made without them, so that
# installing needs neither the test libraries nor the dependency script.
install:
	test -f $(BUILD)/CMakeCache.txt || cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF
	cmake --build $(BUILD) -j$(JOBS)
	cmake --install $(BUILD) --prefix $(PREFIX)

deb:
	./scripts/install-deps.sh --deb
	DEB_BUILD=$(DEB_BUILD) JOBS=$(JOBS) ./scripts/make-deb.sh

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(DEB_BUILD)
