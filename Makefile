# make run  - install what is missing, build, start the program (in ./run)
# make test - install what is missing, build, run every test
BUILD ?= build
JOBS ?= 2

.PHONY: all setup build run test bench clean

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
	@grep -h -E '^(crash|race|full disk|file-size limit|permissions|names from files):' \
	  $(BUILD)/Testing/Temporary/LastTest.log 2>/dev/null || true

bench: build
	@$(BUILD)/soremuka_bench

clean:
	rm -rf $(BUILD)
