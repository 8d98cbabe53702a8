# make run  - install what is missing, build, start the program (in ./run)
# make test - install what is missing, build, run every test
# make test-asan - the same suite built with clang, ASan and UBSan, then the
#                  fuzz corpus replayed through each fuzz target
# make fuzz  - fuzz each target for FUZZ_SECONDS and keep what it finds
# make deb   - the Debian package, $(BUILD)/soremuka_VERSION_ARCH.deb
# make test-package - the package checked (lintian, metainfo, menu entry,
#                  manual), installed with apt-get and run from /usr
# make pictures - the README's pictures, made again from the program
BUILD ?= build
ASAN_BUILD ?= build-asan
JOBS ?= 2
FUZZ_SECONDS ?= 60
export ASAN_SYMBOLIZER_PATH ?= /usr/bin/llvm-symbolizer-14
# Where ccache is used, paths under the checkout count relative to it, so a
# clone elsewhere reuses what an earlier build compiled.
export CCACHE_BASEDIR ?= $(CURDIR)
export CCACHE_NOHASHDIR ?= 1

.PHONY: all setup build run test bench clean build-asan test-asan fuzz fuzz-replay deb test-package pictures

all: build

setup:
	@bash scripts/setup.sh

build: setup
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD) -j$(JOBS)

# The program writes its results files into its current folder, so it runs
# in a folder of its own, never in the checkout.
run: build
	@mkdir -p run
	@cd run && ../$(BUILD)/soremuka

test: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)
	@grep -h -E '^(crash|race|full disk|file-size limit|memory limit|permissions|names from files|long run)' \
	  $(BUILD)/Testing/Temporary/LastTest.log 2>/dev/null || true

# The package is made from the same build as the tests, stripped.
deb: build
	@bash scripts/setup.sh package
	@rm -f $(BUILD)/soremuka_*.deb
	@cd $(BUILD) && cpack -G DEB
	@ls $(BUILD)/soremuka_*.deb

# Installs the package on this machine (as root or with sudo) and removes it
# again once checked.
test-package: deb
	@bash scripts/test-package.sh $(BUILD)

pictures: build
	@bash scripts/setup.sh pictures
	@bash scripts/pictures.sh $(BUILD)

bench: build
	@$(BUILD)/soremuka_bench

# The checking build: clang at -O1 with AddressSanitizer and
# UndefinedBehaviorSanitizer on all of the program's own code, Qt's own
# assertions on (a Debug configuration), and the fuzz targets.
build-asan: setup
	@cmake -S . -B $(ASAN_BUILD) -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=Debug \
	  -DCMAKE_CXX_FLAGS_DEBUG="-O1 -gline-tables-only" \
	  -DSOREMUKA_SANITIZE=ON -DSOREMUKA_FUZZ=ON >/dev/null
	@cmake --build $(ASAN_BUILD) -j$(JOBS) --target soremuka_core_tests soremuka_gui_tests fuzz_all

# Every sanitizer report, also from a process a test starts, goes to a file;
# any such file fails the run, whatever the tests said.
test-asan: build-asan
	@rm -rf $(ASAN_BUILD)/sanitizer-reports && mkdir -p $(ASAN_BUILD)/sanitizer-reports
	@cd $(ASAN_BUILD) && reports=$$PWD/sanitizer-reports && \
	  ASAN_OPTIONS=log_path=$$reports/asan UBSAN_OPTIONS=log_path=$$reports/ubsan \
	  QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS); status=$$?; \
	  if [ -n "$$(ls -A $$reports)" ]; then \
	    echo "sanitizer reports:"; cat $$reports/*; exit 1; fi; \
	  grep -h "^long run" Testing/Temporary/LastTest.log; \
	  [ $$status -eq 0 ] && echo "sanitizers: no reports"; exit $$status
	@bash fuzz/run.sh replay $(ASAN_BUILD)

fuzz-replay: build-asan
	@bash fuzz/run.sh replay $(ASAN_BUILD)

fuzz: build-asan
	@bash fuzz/run.sh fuzz $(ASAN_BUILD) $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
