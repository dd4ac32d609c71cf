# Empty compiler generated dependencies file for qmrlink.
# This may be replaced when dependencies are built.
