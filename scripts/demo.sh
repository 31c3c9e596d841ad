#!/usr/bin/env bash
# The demonstration: creates the embedded database when missing and shows the program at work.
set -euo pipefail
echo "demo: not yet available"
