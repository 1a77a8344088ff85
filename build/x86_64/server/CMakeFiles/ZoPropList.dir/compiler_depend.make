# Empty compiler generated dependencies file for ZoPropList.
# This may be replaced when dependencies are built.
