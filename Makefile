# The two commands of the README. Both install what is missing first.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)

.PHONY: run test deps build

deps:
	@./scripts/install-deps

build: deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@./scripts/run-kiosk $(BUILD_DIR)

test: build
	@./scripts/run-tests $(BUILD_DIR)
