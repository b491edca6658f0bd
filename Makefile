# make run   installs what is missing, builds, starts the calculator on its default skin
# make test  installs what is missing, builds, runs the whole suite through CTest
BUILD ?= build
JOBS  ?= $(shell nproc)

.PHONY: deps build run wizard test clean

deps:
	@tools/install-deps

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/bin/calc

wizard: build
	$(BUILD)/bin/Skinwright

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD)
