# Native build: the repository server stand-in and its tests.
add_compile_options(-Wall -Wextra)
