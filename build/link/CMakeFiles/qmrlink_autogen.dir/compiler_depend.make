# Empty custom commands generated dependencies file for qmrlink_autogen.
# This may be replaced when dependencies are built.
