"""The seven stored skins, in the order the program lists them."""
from designs import aluminium, blueglass, darkglass, grayplastic, neutral2, pulsar, wood

DESIGNS = [('Aluminium', aluminium), ('BlueGlass', blueglass), ('DarkGlass', darkglass),
           ('GrayPlastic', grayplastic), ('Neutral2', neutral2), ('Pulsar', pulsar), ('Wood', wood)]
