# The two commands of the README (run, test) and the packaging and fuzzing targets.
# Every target installs what is missing first.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
# Seconds each fuzz target runs for `make fuzz`.
FUZZ_SECONDS ?= 600

.PHONY: run test deps build package fuzz format

deps:
	@./scripts/install-deps

# Warnings are errors here, so none can land.
build: deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKALMO_WERROR=ON >/dev/null
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@./scripts/run-kiosk $(BUILD_DIR)

test: build
	@./scripts/check-format
	@./scripts/run-tests $(BUILD_DIR)

package: build
	@cd $(BUILD_DIR) && cpack -G DEB -B package
	@ls $(BUILD_DIR)/package/*.deb

fuzz: deps
	@./scripts/fuzz $(FUZZ_SECONDS)

format:
	@git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format -i
