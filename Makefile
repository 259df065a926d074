# Quillmark: the two commands a fresh Debian 12 machine needs.
#   make run   - builds everything and runs the main job on the built-in demo game
#   make test  - installs what is missing, builds both builds, runs every test suite
# Other targets: bench, fuzz, screenshots, skin, clean.

JOBS ?= $(shell nproc)
CTEST_FLAGS ?= --output-on-failure

.PHONY: all deps host host-release win32 test run bench fuzz screenshots skin clean

all: host win32

deps:
	@bash scripts/install-deps.sh

host: deps
	cmake --preset host >/dev/null
	cmake --build --preset host -j $(JOBS)

host-release: deps
	cmake --preset host-release >/dev/null
	cmake --build --preset host-release -j $(JOBS)

win32: deps
	cmake --preset win32 >/dev/null
	cmake --build --preset win32 -j $(JOBS)

# The release build is built too: make run and make bench use it, and GCC warns differently
# at -O3 than in the debug build, where the tests run.
test: host host-release win32
	ctest --test-dir build/host $(CTEST_FLAGS)

run: host-release win32
	bash scripts/run-demo.sh

bench: host-release win32
	bash scripts/bench.sh

fuzz: deps
	bash scripts/fuzz.sh

# The HTML pages first: they need no Wine.
screenshots: host-release win32
	bash scripts/page_screenshots.sh
	bash scripts/screenshots.sh

# Redraws the skin bitmaps, the icon and the patcher's background into resources/, with
# previews to look at under build/host/skin-preview.
skin: deps
	cmake --preset host -DQM_SKIN_ART=ON >/dev/null
	cmake --build --preset host --target qm_skinart -j $(JOBS)
	build/host/tools/skinart/qm_skinart --out resources --preview build/host/skin-preview

clean:
	rm -rf build
