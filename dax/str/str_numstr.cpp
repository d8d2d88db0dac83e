// NumStr services
