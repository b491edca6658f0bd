# make run        installs what building and running lack, builds, starts the calculator on its
#                 default skin
# make test       installs what building and the tests lack, builds, runs the whole suite through
#                 CTest
# make dist       builds, then packs build/dist: the portable skin folder (.tar.gz) and a .deb
# make test-asan  the same suite again, built with AddressSanitizer and UBSan in build-asan
BUILD ?= build
ASAN_BUILD ?= build-asan
JOBS  ?= $(shell nproc)

SANITIZE := -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer
# Every sanitized process writes its AddressSanitizer report to a file here; any file fails the
# run, even when the report came from a program that a test ended or whose exit code nobody
# looked at. Tests run programs as another user too, who may not reach the build folder: the
# folder is in /tmp, one per build folder. UBSan, loaded beside ASan, ignores log_path and
# writes to stderr, which CTest keeps in LastTest.log: a report there fails the run too.
ASAN_REPORTS = /tmp/picturecalc-sanitizers-$(shell echo '$(abspath $(ASAN_BUILD))' | md5sum | cut -c1-12)
SANITIZER_REPORT_LINES = runtime error:|ERROR: (Address|Leak|UndefinedBehavior)Sanitizer
SANITIZER_ENV = \
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:log_path=$(ASAN_REPORTS)/asan \
	UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	LSAN_OPTIONS=print_suppressions=0
# The leaks of system libraries that are not ours, built into every sanitized program.
LEAK_SUPPRESSIONS = $(abspath $(ASAN_BUILD))/leak_suppressions.o

.PHONY: deps test-deps build run wizard test test-asan dist clean

deps:
	@tools/install-deps

test-deps:
	@tools/install-deps --test

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/bin/calc

wizard: build
	$(BUILD)/bin/Skinwright

test: test-deps build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

$(LEAK_SUPPRESSIONS): tools/sanitizers/leak_suppressions.cpp
	mkdir -p $(ASAN_BUILD)
	$(CXX) -c -O1 $< -o $@

test-asan: test-deps $(LEAK_SUPPRESSIONS)
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug \
		"-DCMAKE_CXX_FLAGS=-O1 $(SANITIZE)" \
		"-DCMAKE_EXE_LINKER_FLAGS=$(SANITIZE) $(LEAK_SUPPRESSIONS)"
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	rm -rf $(ASAN_REPORTS) && mkdir -p -m 1777 $(ASAN_REPORTS)
	$(SANITIZER_ENV) ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS); \
	status=$$?; \
	if [ -n "$$(ls -A $(ASAN_REPORTS))" ]; then \
		echo "Sanitizer reports:"; tail -n +1 $(ASAN_REPORTS)/*; exit 1; \
	fi; \
	if grep -E '$(SANITIZER_REPORT_LINES)' $(ASAN_BUILD)/Testing/Temporary/LastTest.log; then \
		echo "Sanitizer reports in the tests' output (above)"; exit 1; \
	fi; \
	exit $$status

dist: build
	cd $(BUILD) && cpack -B dist

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
