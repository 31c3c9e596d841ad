# The newcomer's commands: `make demo` and `make test`. Both install what is missing first.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
DEMO_DIR ?= demo-run

.PHONY: all deps configure build test demo screenshot package clean

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS) -- --no-print-directory

test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

# The demonstration builds only what it runs: the command and its login library.
demo: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target zorvit -- --no-print-directory
	@bash scripts/demo.sh $(BUILD_DIR) $(DEMO_DIR)

screenshot: build
	@$(BUILD_DIR)/bin/window_screenshot examples/contracts.xls $(BUILD_DIR)/window.png

# A Debian package of the programs, the login library, the desktop entry and the icon.
package: build
	@cd $(BUILD_DIR) && cpack -G DEB

clean:
	rm -rf $(BUILD_DIR) $(DEMO_DIR)
