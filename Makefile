# Set-up and test commands; each works on a fresh machine.
#   make / make docs   the optimised program (no sanitizers) in $(BUILD)
#   make test          every test, under the sanitizers, in $(TEST_BUILD)
#   make install       the optimised program under $(PREFIX)
BUILD      ?= build
TEST_BUILD ?= build-sanitize
PREFIX     ?= /usr/local
JOBS       ?= $(shell nproc)

.PHONY: all deps configure build configure-test build-test test docs install clean

all: build

deps:
	bash scripts/install-deps

# The program users run: optimised, without sanitizers or tests.
configure: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DVANTRY_SANITIZE=OFF \
	  -DVANTRY_TESTS=OFF

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# The test tree: AddressSanitizer and UndefinedBehaviorSanitizer, with debug
# information, in a folder of its own so that it never replaces the program
# that make docs and make install use.
configure-test: deps
	cmake -S . -B $(TEST_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVANTRY_SANITIZE=ON \
	  -DVANTRY_TESTS=ON

build-test: configure-test
	cmake --build $(TEST_BUILD) -j $(JOBS)

# Builds everything under AddressSanitizer and UndefinedBehaviorSanitizer and
# runs every test.
test: build-test
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --test-dir $(TEST_BUILD) --output-on-failure -j $(JOBS)

# Documents the sample tree with the standard module, unattended and without
# a display, into $(BUILD)/docs/index.html. The old site is removed first so
# that no page of an earlier run survives.
# Java and C# projects are named after their package and namespace, so their
# list entries name them ("directory=project") and their summaries are found;
# the C# sample documents with /// comments, which -accept3slash reads.
DOCS_TITLE ?= Vantry samples
DOCS_INPUT ?= samples/cpp samples/java/shapes=com.example.shapes \
              samples/csharp=Example.Inventory
docs: build
	rm -rf $(BUILD)/docs
	env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM $(BUILD)/vantry -autorun -autoquit -overwrite \
	  -accept3slash "-title=$(DOCS_TITLE)" -module=vantry-standard \
	  $(DOCS_INPUT) $(BUILD)/docs/index.html

# The program and its modules go to $(PREFIX)/lib/vantry, the command
# $(PREFIX)/bin/vantry links to it (DESTDIR is honoured for packaging).
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

clean:
	rm -rf $(BUILD) $(TEST_BUILD)
