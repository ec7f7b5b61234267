# The two set-up commands: `make test` and `make demo` (see README.md).
JOBS ?= $(shell nproc)
GEN := -G Ninja
COMMON := -DVELDMARK_WERROR=ON

.PHONY: deps build build-asan test test-normal test-asan demo bench clean

deps:
	@scripts/install-deps.sh

build: deps
	cmake -S . -B build $(GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(COMMON)
	cmake --build build -j $(JOBS)

build-asan: deps
	cmake -S . -B build-asan $(GEN) -DCMAKE_BUILD_TYPE=Debug -DVELDMARK_SANITIZE=ON $(COMMON)
	cmake --build build-asan -j $(JOBS)

test-normal: build
	ctest --test-dir build --output-on-failure -j $(JOBS)

test-asan: build-asan
	ctest --test-dir build-asan --output-on-failure -j $(JOBS)

test: test-normal test-asan

demo: build
	scripts/demo.sh

bench: deps
	cmake -S . -B build-bench $(GEN) -DCMAKE_BUILD_TYPE=Release -DVELDMARK_BENCH=ON -DVELDMARK_TESTS=OFF -DVELDMARK_GUI=OFF
	cmake --build build-bench -j $(JOBS)
	build-bench/bin/vmk-bench-single-search
	build-bench/bin/vmk-bench-list-search

clean:
	rm -rf build build-asan build-bench
