# make demo: install what is missing, build, convert the sample PSD.
# make test: the same set-up, then every test.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
ifeq ($(CI),true)
CMAKE_FLAGS += -DWERROR=ON
endif
DEMO_OUT := $(abspath $(BUILD)/demo)

.PHONY: all deps build demo test test-asan bench clean

all: build

deps:
	@bash tools/install-deps.sh

build: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(BUILD) -j$(JOBS)

demo: build
	@mkdir -p $(DEMO_OUT) && rm -f $(DEMO_OUT)/sample.dds
	@$(BUILD)/vantor -i data/sample.psd -o $(DEMO_OUT)
	@test -f $(DEMO_OUT)/sample.dds
	@echo "The DDS file is at $(DEMO_OUT)/sample.dds"

test: build
	@cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

# The whole suite once more, built with AddressSanitizer and UBSan. The
# suppressions name one-off leaks inside system libraries (see the file).
test-asan:
	@LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	  UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	  $(MAKE) test BUILD=build-asan CMAKE_FLAGS="-DSANITIZE=ON"

bench: build
	@bash bench/run.sh $(BUILD)

clean:
	rm -rf $(BUILD) build-asan
