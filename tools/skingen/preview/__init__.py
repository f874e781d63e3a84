"""Mock windows drawn from a generated skin, for looking at the designs."""
