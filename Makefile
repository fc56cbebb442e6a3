# Set-up and test commands; each works on a fresh machine.
BUILD ?= build
JOBS  ?= $(shell nproc)

.PHONY: all deps configure build test tsan docs clean

all: build

deps:
	bash scripts/install-deps

configure: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVANTRY_SANITIZE=ON

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# Builds everything under AddressSanitizer and UndefinedBehaviorSanitizer and
# runs every test.
test: build
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# The tests again, built with ThreadSanitizer in a tree of their own: the
# run parses and writes pages on several threads.
TSAN_BUILD ?= build-tsan
tsan: deps
	cmake -S . -B $(TSAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVANTRY_TSAN=ON
	cmake --build $(TSAN_BUILD) -j $(JOBS)
	TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
	  ctest --test-dir $(TSAN_BUILD) --output-on-failure -j $(JOBS)

# Documents the sample tree with the standard module, unattended and without
# a display, into $(BUILD)/docs/index.html. The old site is removed first so
# that no page of an earlier run survives.
# Java and C# projects are named after their package and namespace, so their
# list entries name them ("directory=project") and their summaries are found.
DOCS_TITLE ?= Vantry samples
DOCS_INPUT ?= samples/cpp samples/java/shapes=com.example.shapes \
              samples/csharp=Example.Inventory
docs: build
	rm -rf $(BUILD)/docs
	env -u DISPLAY $(BUILD)/vantry -autorun -autoquit -overwrite "-title=$(DOCS_TITLE)" \
	  -module=vantry-standard -moduledir=$(BUILD)/modules \
	  $(DOCS_INPUT) $(BUILD)/docs/index.html

clean:
	rm -rf $(BUILD) $(TSAN_BUILD)
