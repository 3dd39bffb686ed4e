# The two commands a studio needs: `make run` and `make test`. Both install what is missing first.
JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 60
CMAKE_GEN = -G Ninja

.PHONY: run test bench fuzz deps clean format

deps:
	@scripts/install-deps

build/release/build.ninja: | deps
	cmake -S . -B build/release $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DORVANEL_TESTS=OFF

run: deps build/release/build.ninja
	cmake --build build/release -j $(JOBS)
	@if [ -x build/release/bin/orvanel ]; then \
	  build/release/bin/orvanel; \
	else \
	  echo "The libraries are built; the tool itself is not built yet."; \
	fi

test: deps
	cmake -S . -B build/debug $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DORVANEL_SANITIZE=ON -DORVANEL_WERROR=ON
	cmake --build build/debug -j $(JOBS)
	cd build/debug && QT_QPA_PLATFORM=offscreen \
	  ASAN_OPTIONS=abort_on_error=0:detect_leaks=1 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure -j $(JOBS)

bench:
	@scripts/install-deps bench
	cmake -S . -B build/release $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DORVANEL_TESTS=OFF -DORVANEL_BENCH=ON
	cmake --build build/release -j $(JOBS)
	bench/run build/release

fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B build/fuzz $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVANEL_FUZZ=ON
	cmake --build build/fuzz -j $(JOBS)
	scripts/fuzz-all build/fuzz $(FUZZ_SECONDS)

# Rewrites every C++ file that differs from .clang-format (make test checks it).
format:
	@scripts/check-format --fix

clean:
	rm -rf build
