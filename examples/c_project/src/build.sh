#!/bin/sh
# $ADD_HEADER$ shell scripts are not C sources: left alone
echo build
