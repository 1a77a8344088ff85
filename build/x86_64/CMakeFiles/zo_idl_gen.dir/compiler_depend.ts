# CMAKE generated file: DO NOT EDIT!
# Timestamp file for custom commands dependencies management for zo_idl_gen.
