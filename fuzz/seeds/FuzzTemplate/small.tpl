# DESC: x
# BBOX: 0 0
_base none type=ghost

  indented none
door	_base size=0.5 # tail
crate _base mass=1crate _base mass=2
