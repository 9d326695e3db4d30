#!/bin/sh
# Starts Digitome from its folder, where its dictionary lies.
here=$(dirname "$(readlink -f "$0")")
exec "$here/../lib/digitome/digitome" "$@"
