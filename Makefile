# Quillmark: the two commands a fresh Debian 12 machine needs.
#   make run   - builds everything and runs the main job on the built-in demo game
#   make test  - installs what is missing, builds both builds, runs every test suite
#   make dist  - the release archives players download, and their checksums, under dist/
# Other targets: bench, fuzz, screenshots, skin, clean.

JOBS ?= $(shell nproc)
CTEST_FLAGS ?= --output-on-failure

.PHONY: all deps host host-release win32 test dist run bench fuzz screenshots skin clean

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

# The release build is built too: make run, make bench and make dist use it, and GCC warns
# differently at -O3 than in the debug build, where the tests run. The release archives are
# written and their contents checked last.
test: host host-release win32
	ctest --test-dir build/host $(CTEST_FLAGS)
	python3 scripts/dist.py

# dist/quillmark-<version>-win32.zip, dist/quillmark-<version>-linux-x86_64.tar.gz and
# dist/SHA256SUMS, the same bytes from every build of one commit (scripts/dist.py).
dist: host-release win32
	python3 scripts/dist.py

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
	rm -rf build dist
