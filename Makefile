# The two commands for every user: `make run` and `make test`.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: run test deps configure build bench fuzz package clean

deps:
	@bash scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j$(JOBS)

run: build
	./$(BUILD)/pelora

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

# The benchmark also needs what it measures against, which the tests do not.
bench: configure
	@bash scripts/install-deps bench
	@cmake --build $(BUILD) -j$(JOBS) --target bench

# Every fuzz target for FUZZ_SECONDS each (default 60), built with clang++.
fuzz: configure
	@FUZZ_SECONDS=$(or $(FUZZ_SECONDS),60) FUZZ_JOBS=$(JOBS) cmake --build $(BUILD) --target fuzz

package: build
	cd $(BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD)
