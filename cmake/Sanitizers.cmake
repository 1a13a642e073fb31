# The sanitizer build (./test --sanitize): every target of the suite, control
# libraries included, built with AddressSanitizer and UndefinedBehaviorSanitizer
# into a tree of its own. A report stops the process, so it fails its test.
option(TAVRINEL_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(TAVRINEL_SANITIZE)
  # -O1 keeps the reports' stacks readable and the build and the tests quick.
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all
                      -fno-omit-frame-pointer -O1)
  add_link_options(-fsanitize=address,undefined)
endif()

# Where the build registers the control libraries it makes: the builder's own
# data home unless set. A second build tree of other code (the sanitizer build
# above) registers into a home of its own, so that it never takes the classes
# over from the builder's everyday programs.
set(TAVRINEL_REGISTRY_HOME "" CACHE PATH
    "XDG_DATA_HOME the build registers its control libraries in (empty: the builder's)")
