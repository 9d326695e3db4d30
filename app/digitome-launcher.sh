#!/bin/sh
# SPDX-FileCopyrightText: 2026 Tarrowen
# SPDX-License-Identifier: MIT
# Starts Digitome from its folder, where its dictionary lies.
here=$(dirname "$(readlink -f "$0")")
exec "$here/../lib/digitome/digitome" "$@"
