# Set-up on a fresh Debian 12 machine:
#   make run    installs what is missing, builds, starts the program
#   make test   installs what is missing, builds, runs every test
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)

PACKAGES := build-essential cmake ninja-build pkg-config \
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev libxkbcommon-dev qt6-svg-dev \
  libgtest-dev libgmock-dev libbenchmark-dev zlib1g-dev \
  libzip-dev zipcmp zipmerge ziptool libgif-dev libcurl4-openssl-dev libcli11-dev \
  fonts-dejavu-core xvfb xauth desktop-file-utils appstream dpkg-dev

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: deps configure build run test bench install deb clean egdb
PREFIX ?= /usr/local

deps:
	@missing=$$(for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing:" $$missing; \
	  $(SUDO) apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq $$missing; \
	fi

configure: deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	$(BUILD_DIR)/bin/kestrel

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# Endgame databases of the 8x8 variants into the program folder's ED folder:
# WDL tables up to 5 pieces and distance (MTW) tables up to 4. Long: run it
# once; an interrupted run resumes where it stopped.
EGDB_VARIANTS ?= russian english brazilian pool italian czech spanish thai
EGDB_THREADS ?= 2
egdb: build
	@for v in $(EGDB_VARIANTS); do \
	  $(BUILD_DIR)/bin/kestrel-cli egdb generate --variant $$v --pieces 5 --threads $(EGDB_THREADS) --out $(BUILD_DIR)/bin/ED && \
	  $(BUILD_DIR)/bin/kestrel-cli egdb generate --variant $$v --pieces 4 --ranged --threads $(EGDB_THREADS) --out $(BUILD_DIR)/bin/ED || exit 1; \
	done

bench: build
	$(BUILD_DIR)/bin/kestrel_bench

# Installs the programs, data, desktop entry, icon and metadata under PREFIX.
install: build
	cmake --install $(BUILD_DIR) --prefix $(PREFIX)

# A Debian package (installs under /usr) in $(BUILD_DIR).
deb: build
	cd $(BUILD_DIR) && cpack -G DEB

clean:
	rm -rf $(BUILD_DIR)
