# Set-up, build and run on a Debian machine:
#   make run    install what is missing, build, start Tarvel in examples/
#   make test   install what is missing, build, run every test
#   make install    build, install under PREFIX (default /usr/local)
#   make package    build, make the Debian package tarvel_<version>_<arch>.deb
BUILD ?= build
PREFIX ?= /usr/local
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: deps build run test install package bench sanitize fuzz fuzz-long clean

deps:
	@sh scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

run: build
	cd examples && ../$(BUILD)/tarvel

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# DESTDIR, when set in the environment, stages the files below it.
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

package: build
	cmake --build $(BUILD) --target package
	@ls $(BUILD)/tarvel_*.deb

bench:
	@sh scripts/install-deps.sh bench
	cmake -S . -B build-bench -DTARVEL_BUILD_BENCH=ON -DTARVEL_BUILD_GUI=ON -DTARVEL_BUILD_TESTS=OFF -DCMAKE_BUILD_TYPE=Release
	cmake --build build-bench -j $(JOBS) --target tarvel_bench tarvel_window_bench tarvel_methods_bench tarvel_lab_bench tarvel_expression_bench
	./build-bench/bench/tarvel_bench
	./build-bench/bench/tarvel_methods_bench
	./build-bench/bench/tarvel_expression_bench
	QT_QPA_PLATFORM=offscreen ./build-bench/bench/tarvel_window_bench
	QT_QPA_PLATFORM=offscreen ./build-bench/bench/tarvel_lab_bench

clean:
	rm -rf $(BUILD) build-*

# Logic and tests under AddressSanitizer and UndefinedBehaviorSanitizer (clang).
sanitize: deps
	sh scripts/sanitize.sh

# The libFuzzer targets, a minute each on a fixed seed, or half an hour each
# on fresh random seeds.
fuzz: deps
	sh scripts/fuzz.sh 60 1

fuzz-long: deps
	sh scripts/fuzz.sh 1800
