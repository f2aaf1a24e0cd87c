"""The Stripewright extension's Python code: the library binding, the Calc functions' argument
handling and the Writer command's dialog and insertion."""
