"""The desktop families of src/desktop_family/ as the tests meet them, one module each: how its session
starts headless (`Session`, with `env` for a program of that session), how its outputs are read back
through the desktop's own tools (`outputs(env)`: every output's name -> (x, y, width, height as laid out,
transform as wl_output counts it: quarter turns to the left, 4-7 flipped)), how the desktop turns its
screen itself (`turn`), and where its orientation lock is kept. Weston, which no family's row names,
has a module of its own for its session."""
